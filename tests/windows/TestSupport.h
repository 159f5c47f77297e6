// Helpers shared by the Windows tests: scratch directories, whole-file I/O and
// archives assembled in memory from their records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "archive/Format.h"

namespace kelp::test {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& text);

// A directory under the temp directory, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
Bytes ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const Bytes& data);

struct TestEntry {
    std::string Name;
    Bytes Stored;             // the entry's data as it sits in the archive
    int32_t UncompressedSize;
    uint32_t Checksum;
    uint8_t Method = 0;
    uint32_t DateTime = 0;
    uint16_t Attributes = 0x20;
};

// A stored ("NON") entry whose checksum matches its bytes.
TestEntry StoredEntry(const std::string& name, const std::string& text, uint32_t dosTime = 0x5A8C6000,
                      uint16_t attributes = 0x20);

// Header (TotalSize = sum of the entries' sizes unless given) and entries, back to back.
Bytes BuildArchive(const std::vector<TestEntry>& entries, const std::string& methodId = "NON",
                   int32_t totalSize = -1);

}  // namespace kelp::test
