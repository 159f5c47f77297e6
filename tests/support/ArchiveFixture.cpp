#include "support/ArchiveFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "archive/Format.h"
#include "archive/codec/ProcessStream.h"

namespace kelp::test {

Bytes Encode(uint8_t method, const Bytes& plain) {
    if (method == 0) return plain;
    TCodecState st;
    MemoryStream src(plain), dst;
    uint32_t sum = 0;
    ProcessStream(st, dst, src, static_cast<int32_t>(plain.size()), 0, method, sum, kCompress, false, nullptr, 0);
    return dst.Bytes();
}

Bytes Decode(uint8_t method, const Bytes& coded, int32_t destSize, uint32_t* checksum) {
    TCodecState st;
    MemoryStream src(coded), dst;
    uint32_t sum = 0;
    ProcessStream(st, dst, src, static_cast<int32_t>(coded.size()), destSize, method, sum, kExpand, false, nullptr, 0);
    if (checksum) *checksum = sum;
    return dst.Bytes();
}

Bytes BuildArchive(const std::vector<FixtureEntry>& entries, const std::string& methodId,
                   std::optional<int32_t> totalSize) {
    int32_t sumSizes = 0;
    for (const auto& e : entries) sumSizes += e.uncompressedSize.value_or(static_cast<int32_t>(e.plain.size()));
    Bytes out(kArchiveHeaderSize);
    EncodeArchiveHeader(BuildArchiveHeader(methodId, totalSize.value_or(sumSizes), caMulti), out.data());
    for (const auto& e : entries) {
        Bytes data = e.coded ? *e.coded : Encode(e.method, e.plain);
        if (e.lock == 2) {
            const uint32_t k = static_cast<uint32_t>(e.key);
            for (size_t i = 0; i < data.size(); ++i) data[i] ^= static_cast<uint8_t>(k >> (8 * (i % 4)));
        }
        EntryHeader h;
        h.NameLength = static_cast<int16_t>(e.name.size());
        h.DateTime = e.dateTime;
        h.Attributes = e.attributes;
        h.UncompressedSize = e.uncompressedSize.value_or(static_cast<int32_t>(e.plain.size()));
        h.CompressedSize = e.compressedSize.value_or(static_cast<int32_t>(data.size()));
        h.Method = e.method;
        uint32_t sum = ByteSum(e.plain.data(), e.plain.size());
        if (e.lock > 0) sum += static_cast<uint32_t>(e.key);
        h.Checksum = e.checksum.value_or(sum);
        h.Lock = e.lock;
        uint8_t raw[kEntryHeaderSize];
        EncodeEntryHeader(h, raw);
        out.insert(out.end(), raw, raw + kEntryHeaderSize);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& p, const Bytes& data) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        path_ = std::filesystem::temp_directory_path() / ("kelp-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Target() const {
    std::string s = path_.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return s + "\\";
}

}  // namespace kelp::test
