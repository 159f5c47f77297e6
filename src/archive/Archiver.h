// TArchiver: lists and expands archives, with per-file and progress events.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/ArchiveErrors.h"
#include "archive/Format.h"
#include "archive/codec/CodecState.h"
#include "base/FilePath.h"
#include "base/StringList.h"
#include "base/Stream.h"

namespace kelp {

enum TCProcessMode { cmCompress = 0, cmExpand = 1 };

using TFilenameCheckEvent = std::function<void(std::string& filepath, TCProcessMode mode)>;
using TExpandEvent = std::function<void(Stream& dest, Stream& source, int32_t Sourcesize, int32_t Destsize,
                                        const std::string& CompressID, uint32_t& checksum)>;
using TCompressEvent = std::function<void(Stream& dest, Stream& source, std::string& CompressID,
                                          int32_t& Outputsize, uint32_t& checksum)>;

// What ListArchiveEntries attaches to each name.
struct TCompressedFileInfo {
    uint32_t DateTime = 0;
    uint16_t Attributes = 0;
    int32_t UncompressedSize = 0;
    int32_t CompressedSize = 0;
    uint8_t Method = 0;
    uint32_t Checksum = 0;
    int32_t HeaderOffset = 0;
    bool Locked = false;
};

class TArchiver {
public:
    TArchiver();
    ~TArchiver();
    TArchiver(const TArchiver&) = delete;
    TArchiver& operator=(const TArchiver&) = delete;

    TCompressEvent OnCompress;
    TExpandEvent OnExpand;
    TFilenameCheckEvent OnCheckFile;
    TRecognizeEvent OnRecognize;
    TShowProgressEvent OnShowProgress;
    bool MakeDirectories = false;
    bool ExceptionOnFileError = false;
    int32_t Key = 0;
    bool CheckSpaceBeforeExpand = false;

    const std::string& TargetPath() const { return targetPath_; }
    void SetTargetPath(const std::string& value);

    // A read-only stream over the "ZARC" resource `name` of this module or of `library`.
    static std::unique_ptr<Stream> OpenArchiveResource(const std::string& name, const std::string& library);

    void ListArchiveEntries(Stream& s, TStringList& list);

    // The listing walk: reads the header, then calls `onEntry` with the stream at
    // each entry's data and moves past the data afterwards. False when the stream
    // is too short to hold an entry (nothing is read then).
    using EntryVisitor = std::function<void(const EntryHeader&, const std::string& name, int64_t headerOffset)>;
    bool WalkEntries(Stream& s, ArchiveHeader& header, std::string& methodId, const EntryVisitor& onEntry);
    // Expands the entries `list` names (all when null); on success the list holds the paths written.
    void ExpandArchiveEntries(Stream& s, TStringList* list);

    // One entry's data from `source` into `dest`, with the checksum and key tests.
    void ExpandEntry(Stream& dest, Stream& source, const EntryHeader& entry, const std::string& methodId);
    int32_t ProcessStream(Stream& dest, Stream& source, int32_t sourceSize, int32_t destSize, uint8_t method,
                          uint32_t& checksum, int direction, bool scrambled);

    int32_t FreeSpaceFor(const std::string& path) const;
    static void CreateDirectoryPath(const std::string& path);
    static bool IsDirectory(const std::string& path);

private:
    std::unique_ptr<TCodecState> codec_;
    std::string targetPath_;
};


}  // namespace kelp
