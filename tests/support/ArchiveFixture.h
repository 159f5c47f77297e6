// Builds small archives in memory for tests: each entry's plain bytes, how they
// are stored, and any header field a test wants to falsify.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelp::test {

using Bytes = std::vector<uint8_t>;

struct FixtureEntry {
    std::string name;
    Bytes plain;
    uint8_t method = 0;            // NON and RLE are coded here; others need `coded`
    int32_t lock = 0;
    int32_t key = 0;               // added to the checksum when locked; scrambles for lock 2
    std::optional<Bytes> coded;    // the stored data, before scrambling
    std::optional<uint32_t> checksum;
    std::optional<int32_t> uncompressedSize;
    std::optional<int32_t> compressedSize;
    uint32_t dateTime = 0x27041E0F;  // 1999-08-04 03:48:30
    uint16_t attributes = 0x20;
};

Bytes BuildArchive(const std::vector<FixtureEntry>& entries, const std::string& methodId = "NON",
                   std::optional<int32_t> totalSize = std::nullopt);

Bytes Encode(uint8_t method, const Bytes& plain);  // through the codec run
Bytes Decode(uint8_t method, const Bytes& coded, int32_t destSize, uint32_t* checksum = nullptr);

Bytes Text(const std::string& s);
Bytes ReadFile(const std::filesystem::path& p);
void WriteFile(const std::filesystem::path& p, const Bytes& data);

// A fresh directory under the system temp dir, removed when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // The directory in the archive component's backslash form, with a trailing backslash.
    std::string Target() const;

private:
    std::filesystem::path path_;
};

}  // namespace kelp::test

namespace kelp::test {
inline uint32_t ByteSumOf(const Bytes& b) {
    uint32_t s = 0;
    for (uint8_t x : b) s += x;
    return s;
}
}  // namespace kelp::test
