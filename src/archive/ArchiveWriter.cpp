#include "archive/ArchiveWriter.h"

#include <limits>

#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

// Swallows what a trial run writes and only counts it.
class CountingStream : public Stream {
public:
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void*, int32_t count) override {
        if (count <= 0) return 0;
        pos_ += count;
        if (pos_ > size_) size_ = pos_;
        return count;
    }
    int64_t Seek(int64_t offset, SeekOrigin origin) override {
        const int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? pos_ : size_;
        pos_ = base + offset < 0 ? 0 : base + offset;
        return pos_;
    }
    int64_t Size() override { return size_; }

private:
    int64_t pos_ = 0;
    int64_t size_ = 0;
};

bool IsWritableMethod(uint8_t m) {
    return m == kMethodNone || m == kMethodRle || m == kMethodLzh || m == kMethodLh5;
}

}  // namespace

ArchiveWriter::ArchiveWriter(Stream& dest, const std::string& methodId, int32_t key)
    : dest_(dest), methodId_(methodId), key_(key), codec_(std::make_unique<TCodecState>()) {
    archiveStart_ = dest_.Position();
    uint8_t raw[kArchiveHeaderSize];
    EncodeArchiveHeader(BuildArchiveHeader(methodId_, 0, caMulti, key_), raw);
    dest_.WriteBuffer(raw, kArchiveHeaderSize);
}

ArchiveWriter::~ArchiveWriter() = default;

int64_t ArchiveWriter::MeasureMethod(Stream& source, int64_t sourceStart, int32_t size, uint8_t method) {
    CountingStream counter;
    source.SetPosition(sourceStart);
    uint32_t checksum = 0;
    try {
        ProcessStream(*codec_, counter, source, size, 0, method, checksum, kCompress, false, nullptr, key_);
    } catch (const EUnableToCompress&) {
        return -1;
    }
    return counter.Size();
}

bool ArchiveWriter::TryWrite(Stream& source, int64_t sourceStart, int32_t size, uint8_t method,
                             const TShowProgressEvent& onProgress, EntryHeader& header) {
    const int64_t dataStart = dest_.Position();
    source.SetPosition(sourceStart);
    uint32_t checksum = 0;
    int32_t written = 0;
    try {
        written = ProcessStream(*codec_, dest_, source, size, 0, method, checksum, kCompress, false, onProgress, key_);
    } catch (const EUnableToCompress&) {
        // Full blocks may already stand in dest; the stored bytes that follow cover them.
        dest_.SetPosition(dataStart);
        return false;
    }
    if (source.Position() - sourceStart != size)
        throw EReadError("Stream read error");  // the source ended before its stated size
    if (dest_.Position() - dataStart != written) throw EWriteError("Stream write error");
    header.Method = method;
    header.CompressedSize = written;
    header.Checksum = checksum + (header.Lock > 0 ? static_cast<uint32_t>(key_) : 0u);
    return true;
}

const WrittenEntry& ArchiveWriter::AddEntry(const WriterEntryInfo& info, Stream& source, int32_t size,
                                            const std::vector<uint8_t>& methods,
                                            const TShowProgressEvent& onProgress) {
    if (finished_) throw Exception("The archive is already complete");
    if (size < 0) throw Exception("Invalid entry size for " + info.Name);
    if (info.Name.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        throw Exception("Entry name too long: " + info.Name);
    if (totalSize_ + size > std::numeric_limits<int32_t>::max())
        throw Exception("Archive too large: the plain sizes must add up to less than 2 GB");
    for (uint8_t m : methods)
        if (!IsWritableMethod(m)) throw Exception("Method cannot be written: " + std::to_string(m));

    const int64_t headerPos = dest_.Position();
    const int64_t sourceStart = source.Position();
    EntryHeader header;
    header.NameLength = static_cast<int16_t>(info.Name.size());
    header.DateTime = info.DateTime;
    header.Attributes = info.Attributes;
    header.UncompressedSize = size;
    header.Lock = key_ != 0 ? 2 : 0;
    uint8_t raw[kEntryHeaderSize];
    EncodeEntryHeader(header, raw);
    dest_.WriteBuffer(raw, kEntryHeaderSize);
    dest_.WriteBuffer(info.Name.data(), static_cast<int32_t>(info.Name.size()));

    // With several candidates, trial runs pick the smallest; only that one is written,
    // and only when it is smaller than the plain bytes.
    uint8_t chosen = methods.empty() ? static_cast<uint8_t>(kMethodNone) : methods.front();
    if (methods.size() > 1) {
        int64_t best = size;
        chosen = kMethodNone;
        for (uint8_t m : methods) {
            if (m == kMethodNone) continue;
            const int64_t n = MeasureMethod(source, sourceStart, size, m);
            if (n >= 0 && n < best) {
                best = n;
                chosen = m;
            }
        }
    }
    if (chosen == kMethodNone || !TryWrite(source, sourceStart, size, chosen, onProgress, header)) {
        if (!TryWrite(source, sourceStart, size, kMethodNone, onProgress, header))
            throw EUnableToCompress(kUnableToCompressMessage);  // stored bytes always fit their budget
    }

    const int64_t end = dest_.Position();
    EncodeEntryHeader(header, raw);
    dest_.SetPosition(headerPos);
    dest_.WriteBuffer(raw, kEntryHeaderSize);
    dest_.SetPosition(end);
    totalSize_ += size;
    entries_.push_back({header, info.Name});
    return entries_.back();
}

void ArchiveWriter::Finish() {
    if (finished_) return;
    const int64_t end = dest_.Position();
    uint8_t raw[kArchiveHeaderSize];
    EncodeArchiveHeader(BuildArchiveHeader(methodId_, static_cast<int32_t>(totalSize_), caMulti, key_), raw);
    dest_.SetPosition(archiveStart_);
    dest_.WriteBuffer(raw, kArchiveHeaderSize);
    dest_.SetPosition(end);
    finished_ = true;
}

}  // namespace kelp
