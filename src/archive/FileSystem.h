// The thin file-system layer under the archive component. Paths keep the
// archive's backslashes; an implementation maps them at the OS boundary.
// One POSIX and one Win32 implementation, chosen at link time. (Names avoid
// the Win32 A/W macros such as CreateFile and DeleteFile.)
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/Stream.h"

namespace kelp::fs {

inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// An open file; closes itself when destroyed.
class FileStream : public Stream {
public:
    virtual void Close() = 0;
    // Sets the last-write time from a DOS date-time taken as local time.
    virtual bool SetDosTime(uint32_t dosDateTime) = 0;
};

// Creates anew (truncating), read-write, no sharing. Raises EFCreateError.
std::unique_ptr<FileStream> CreateNewFile(const std::string& path);
// Opens an existing file read-only. Raises EFOpenError.
std::unique_ptr<FileStream> OpenFileRead(const std::string& path);

// Attribute bits of a path, or kInvalidAttributes when it does not exist.
uint32_t GetAttributes(const std::string& path);
bool SetAttributes(const std::string& path, uint32_t attributes);
bool RemoveFile(const std::string& path);
// Creates one directory; false on failure.
bool MakeDirectory(const std::string& path);
// Free bytes of a drive (1 = A:, 0 = the current drive), -1 when the query fails.
double DiskFreeBytes(int drive);
// Size of an existing file, or -1.
int64_t FileSize(const std::string& path);
// Last-write time of a file as DOS date-time in local time (0 when unknown).
uint32_t GetFileDosTime(const std::string& path);
// Replaces the target if it exists.
bool MoveFileReplace(const std::string& from, const std::string& to);
// Text of the last OS error, for messages.
std::string LastErrorText();

}  // namespace kelp::fs
