#include "archive/Archiver.h"

#include <algorithm>
#include <cctype>

#include "archive/FileSystem.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

constexpr int32_t kMaxInt = 2147483647;
constexpr int kSmallestEntryArchive = kArchiveHeaderSize + kEntryHeaderSize;  // 46

// Passes over an entry's data. A negative size would walk backwards over the
// same header again and again, so damaged sizes never move the stream back.
void SkipData(Stream& s, const EntryHeader& e) {
    if (e.CompressedSize > 0) s.Seek(e.CompressedSize, SeekOrigin::Current);
}

}  // namespace

TArchiver::TArchiver() : codec_(std::make_unique<TCodecState>()) {}
TArchiver::~TArchiver() = default;

void TArchiver::SetTargetPath(const std::string& value) {
    targetPath_ = value;
    if (!targetPath_.empty() && targetPath_.back() != '\\') targetPath_ += '\\';
}

bool TArchiver::WalkEntries(Stream& s, ArchiveHeader& header, std::string& methodId, const EntryVisitor& onEntry) {
    if (s.Size() - s.Position() < kSmallestEntryArchive) return false;
    header = ReadArchiveHeader(s, methodId, OnRecognize);
    EntryHeader e;
    std::string name;
    while (ReadEntryHeader(s, e, name)) {
        const int64_t dataPos = s.Position();
        onEntry(e, name, dataPos - kEntryHeaderSize - std::max<int>(e.NameLength, 0));
        s.SetPosition(dataPos);
        SkipData(s, e);
    }
    return true;
}

void TArchiver::ListArchiveEntries(Stream& s, TStringList& list) {
    ArchiveHeader header;
    std::string methodId;
    WalkEntries(s, header, methodId, [&](const EntryHeader& e, const std::string& name, int64_t headerOffset) {
        auto info = std::make_shared<TCompressedFileInfo>();
        info->DateTime = e.DateTime;
        info->Attributes = e.Attributes;
        info->UncompressedSize = e.UncompressedSize;
        info->CompressedSize = e.CompressedSize;
        info->Method = e.Method;
        info->Checksum = e.Checksum;
        info->HeaderOffset = static_cast<int32_t>(headerOffset);
        info->Locked = e.Lock > 0;
        list.Add(name, std::move(info));
    });
}

void TArchiver::ExpandArchiveEntries(Stream& s, TStringList* list) {
    TStringList written;
    std::string methodId;
    const ArchiveHeader header = ReadArchiveHeader(s, methodId, OnRecognize);
    int64_t total = 0;
    EntryHeader e;
    std::string name;
    // The walk ends once the sizes add up to TotalSize; an empty entry adds nothing,
    // so empty files after the last full one are still written.
    while (ReadEntryHeader(s, e, name) && (total < header.TotalSize || e.UncompressedSize == 0)) {
        if (list && list->IndexOf(name) < 0) {
            SkipData(s, e);
            total += e.UncompressedSize;
            continue;
        }
        std::string path = (!name.empty() && name[0] == '\\') ? name : targetPath_ + name;
        if (OnCheckFile) {
            OnCheckFile(path, cmExpand);
            if (path.empty()) {
                SkipData(s, e);
                continue;
            }
            if (path == "*") break;
        }
        if (FreeSpaceFor(path) < e.UncompressedSize)
            throw EInsufficientDiskSpace(InsufficientDiskSpaceMessage(path));
        if (MakeDirectories) CreateDirectoryPath(ExtractFilePath(path));

        std::unique_ptr<fs::FileStream> file;
        try {
            file = fs::CreateNewFile(path);
        } catch (const EFCreateError&) {
            if (ExceptionOnFileError) throw;
            SkipData(s, e);
            continue;
        }
        try {
            ExpandEntry(*file, s, e, methodId);
        } catch (const EInvalidKey&) {
            file->Close();
            fs::RemoveFile(path);
            throw;
        } catch (...) {
            file->Close();
            fs::SetAttributes(path, e.Attributes);
            throw;
        }
        file->SetDosTime(e.DateTime);
        written.Add(path);
        file->Close();
        fs::SetAttributes(path, e.Attributes);
        total += e.UncompressedSize;
    }
    if (list) {
        list->Clear();
        for (const auto& line : written) list->Add(line.Text);
    }
}

void TArchiver::ExpandEntry(Stream& dest, Stream& source, const EntryHeader& e, const std::string& methodId) {
    if (e.Lock > 0 && Key == 0) throw EInvalidKey(kInvalidKeyMessage);
    uint32_t sum = 0;
    if (e.Method == kMethodCustom) {
        if (OnExpand) OnExpand(dest, source, e.CompressedSize, e.UncompressedSize, methodId, sum);
    } else if (e.Method < kMethodCount) {
        try {
            ProcessStream(dest, source, e.CompressedSize, e.UncompressedSize, e.Method, sum, kExpand, e.Lock == 2);
        } catch (const ELZHBadDecodeTable&) {
            if (e.Lock > 0) throw EInvalidKey(kInvalidKeyMessage);
            throw;
        }
    }
    if (sum == e.Checksum) return;
    if (e.Checksum == 0 && e.Method == kMethodNone) return;
    if (e.Lock > 0) {
        if (static_cast<uint32_t>(Key) + sum == e.Checksum) return;
        throw EInvalidKey(kInvalidKeyMessage);
    }
    throw EBadChecksum(kBadChecksumMessage);
}

int32_t TArchiver::ProcessStream(Stream& dest, Stream& source, int32_t sourceSize, int32_t destSize,
                                 uint8_t method, uint32_t& checksum, int direction, bool scrambled) {
    return kelp::ProcessStream(*codec_, dest, source, sourceSize, destSize, method, checksum, direction, scrambled,
                               OnShowProgress, Key);
}

int32_t TArchiver::FreeSpaceFor(const std::string& path) const {
    if (!CheckSpaceBeforeExpand) return kMaxInt;
    int drive = 0;
    if (path.size() > 1 && path[1] == ':')
        drive = std::toupper(static_cast<unsigned char>(path[0])) - 64;
    const double freeBytes = fs::DiskFreeBytes(drive);
    if (!(freeBytes < kMaxInt)) return kMaxInt;
    int64_t available = static_cast<int64_t>(freeBytes);
    // A file about to be replaced gives its room back.
    const int64_t existing = fs::FileSize(path);
    if (existing >= 0) {
        if (existing + available < kMaxInt)
            available += existing;
        else
            return kMaxInt;
    }
    return static_cast<int32_t>(available);
}

bool TArchiver::IsDirectory(const std::string& path) {
    const uint32_t a = fs::GetAttributes(path);
    return a != fs::kInvalidAttributes && (a & fs::kAttrDirectory) != 0;
}

void TArchiver::CreateDirectoryPath(const std::string& path) {
    if (path.empty()) return;
    std::string dir = path;
    if (dir.back() == '\\') dir.pop_back();
    if (dir.size() >= 3 && !IsDirectory(dir)) {
        CreateDirectoryPath(ExtractFilePath(dir));
        if (!fs::MakeDirectory(dir))
            throw EInOutError("Cannot create directory " + dir + ": " + fs::LastErrorText());
    }
}

}  // namespace kelp
