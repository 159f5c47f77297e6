// The compressing side of the archive: writes the header, then each entry's header,
// name and coded data, and patches the sizes in place once they are known.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/Format.h"
#include "archive/codec/CodecState.h"
#include "base/Stream.h"

namespace kelp {

// A plain file's description for its entry header.
struct WriterEntryInfo {
    std::string Name;         // backslash-separated path inside the archive
    uint32_t DateTime = 0;    // DOS date-time, local time
    uint16_t Attributes = 0x20;
};

// What was written for one entry.
struct WrittenEntry {
    EntryHeader Header;
    std::string Name;
};

class ArchiveWriter {
public:
    // `dest` must be seekable: the archive header and each entry header are written
    // with placeholders first and completed when the data behind them is known.
    // A nonzero key locks and scrambles every entry.
    ArchiveWriter(Stream& dest, const std::string& methodId, int32_t key = 0);
    ~ArchiveWriter();
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    // Codes `size` bytes of `source` (from its current position, which must be
    // seekable so the bytes can be read again) with the smallest of `methods`; when
    // none of them pays, the bytes are stored ("NON"). Returns the entry's header.
    const WrittenEntry& AddEntry(const WriterEntryInfo& info, Stream& source, int32_t size,
                                 const std::vector<uint8_t>& methods,
                                 const TShowProgressEvent& onProgress = nullptr);

    // Writes the final archive header (total size). The archive is complete after this.
    void Finish();

    const std::vector<WrittenEntry>& Entries() const { return entries_; }

private:
    // Codes the source into dest; false when the method's output would not be smaller.
    bool TryWrite(Stream& source, int64_t sourceStart, int32_t size, uint8_t method,
                  const TShowProgressEvent& onProgress, EntryHeader& header);
    // The compressed size of `method` over the source, or -1 when it does not pay.
    int64_t MeasureMethod(Stream& source, int64_t sourceStart, int32_t size, uint8_t method);

    Stream& dest_;
    std::string methodId_;
    int32_t key_;
    int64_t archiveStart_;
    int64_t totalSize_ = 0;
    std::unique_ptr<TCodecState> codec_;
    std::vector<WrittenEntry> entries_;
    bool finished_ = false;
};

}  // namespace kelp
