#include <gtest/gtest.h>

#include <algorithm>

#include "archive/ArchiveWriter.h"
#include "archive/Archiver.h"
#include "archive/codec/Methods.h"
#include "support/ArchiveFixture.h"
#include "support/CodecHarness.h"

namespace kelp {
namespace {

using test::Bytes;

struct File {
    std::string name;
    Bytes plain;
};

std::vector<File> SampleFiles() {
    return {{"empty.txt", {}},
            {"space.txt", Bytes{' '}},  // one byte that no coder can shrink
            {"docs\\readme.txt", test::SampleText(40000)},
            {"bin\\tool.exe", test::SampleCode(70000)},
            {"noise.dat", test::SampleRandom(20000, 4)},
            {"runs.bmp", test::SampleRuns(30000)}};
}

struct ParsedEntry {
    EntryHeader header;
    std::string name;
    Bytes data;  // as stored
};

struct Parsed {
    ArchiveHeader header;
    std::string methodId;
    std::vector<ParsedEntry> entries;
    int64_t end = 0;
};

Parsed Parse(const Bytes& archive) {
    MemoryStream s(archive);
    Parsed p;
    p.header = ReadArchiveHeader(s, p.methodId, nullptr);
    ParsedEntry e;
    while (ReadEntryHeader(s, e.header, e.name)) {
        e.data.resize(static_cast<size_t>(std::max(0, e.header.CompressedSize)));
        s.ReadBuffer(e.data.data(), static_cast<int32_t>(e.data.size()));
        p.entries.push_back(e);
    }
    p.end = s.Position();
    return p;
}

Bytes Write(const std::vector<File>& files, const std::string& methodId, const std::vector<uint8_t>& methods,
            int32_t key) {
    MemoryStream out;
    ArchiveWriter writer(out, methodId, key);
    for (const auto& f : files) {
        MemoryStream src(f.plain);
        writer.AddEntry({f.name, 0x27041E0F, 0x20}, src, static_cast<int32_t>(f.plain.size()), methods);
    }
    writer.Finish();
    return out.Bytes();
}

Bytes Unscramble(Bytes data, int32_t key) {
    for (size_t i = 0; i < data.size(); ++i) data[i] ^= static_cast<uint8_t>(static_cast<uint32_t>(key) >> (8 * (i % 4)));
    return data;
}

struct WriterCase {
    const char* name;
    const char* methodId;
    std::vector<uint8_t> methods;
    int32_t key;
};
void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

class ArchiveWriterCase : public ::testing::TestWithParam<WriterCase> {};

TEST_P(ArchiveWriterCase, HeadersChecksumsAndFallbackFollowTheFormat) {
    const auto& c = GetParam();
    const auto files = SampleFiles();
    const Bytes archive = Write(files, c.methodId, c.methods, c.key);
    const Parsed p = Parse(archive);

    EXPECT_EQ(p.methodId, c.methodId);
    EXPECT_EQ(p.header.ArchiveType, caMulti);
    EXPECT_EQ(p.header.Reserved, 0);
    EXPECT_EQ(p.header.KeyFlag, c.key > 0 ? 2 : 0);
    int64_t total = 0;
    for (const auto& f : files) total += static_cast<int64_t>(f.plain.size());
    EXPECT_EQ(p.header.TotalSize, total);
    ASSERT_EQ(p.entries.size(), files.size());
    EXPECT_EQ(p.end, static_cast<int64_t>(archive.size())) << "no bytes after the last entry";

    for (size_t i = 0; i < files.size(); ++i) {
        const auto& e = p.entries[i];
        const auto& f = files[i];
        SCOPED_TRACE(f.name);
        EXPECT_EQ(e.name, f.name);
        EXPECT_EQ(e.header.DateTime, 0x27041E0Fu);
        EXPECT_EQ(e.header.Attributes, 0x20);
        EXPECT_EQ(e.header.UncompressedSize, static_cast<int32_t>(f.plain.size()));
        EXPECT_EQ(e.header.Lock, c.key != 0 ? 2 : 0);
        const uint32_t sum = test::ByteSumOf(f.plain);
        EXPECT_EQ(e.header.Checksum, sum + (c.key != 0 ? static_cast<uint32_t>(c.key) : 0u));
        const Bytes stored = c.key != 0 ? Unscramble(e.data, c.key) : e.data;
        if (e.header.Method == kMethodNone) {
            EXPECT_TRUE(stored == f.plain);
        } else {
            EXPECT_NE(std::find(c.methods.begin(), c.methods.end(), e.header.Method), c.methods.end());
            EXPECT_LE(e.header.CompressedSize, e.header.UncompressedSize);
            EXPECT_TRUE(test::Expand(e.header.Method, stored, e.header.UncompressedSize) == f.plain);
        }
    }
    // What the coders would grow is stored. A single space is one byte in RLE, which
    // is kept when asked for; "best" stores what no coder makes strictly smaller.
    EXPECT_EQ(p.entries[4].header.Method, kMethodNone);
    if (c.methods != std::vector<uint8_t>{kMethodRle}) {
        EXPECT_EQ(p.entries[1].header.Method, kMethodNone);
    }
}

TEST_P(ArchiveWriterCase, TheArchiveComponentExpandsEveryFile) {
    const auto& c = GetParam();
    const auto files = SampleFiles();
    const Bytes archive = Write(files, c.methodId, c.methods, c.key);
    test::TempDir dir;
    TArchiver archiver;
    archiver.SetTargetPath(dir.Target());
    archiver.MakeDirectories = true;
    archiver.Key = c.key;
    MemoryStream s(archive);
    archiver.ExpandArchiveEntries(s, nullptr);
    for (const auto& f : files) {
        std::string rel = f.name;
        std::replace(rel.begin(), rel.end(), '\\', '/');
        EXPECT_TRUE(test::ReadFile(dir.Path() / rel) == f.plain) << f.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, ArchiveWriterCase,
    ::testing::Values(WriterCase{"Stored", "NON", {kMethodNone}, 0},
                      WriterCase{"Rle", "RLE", {kMethodRle}, 0},
                      WriterCase{"Lzh", "LZH", {kMethodLzh}, 0},
                      WriterCase{"Lh5", "LH5", {kMethodLh5}, 0},
                      WriterCase{"Best", "LZH", {kMethodRle, kMethodLzh, kMethodLh5}, 0},
                      WriterCase{"LzhKeyed", "LZH", {kMethodLzh}, 0x5A17C0DE},
                      WriterCase{"Lh5NegativeKey", "LH5", {kMethodLh5}, -123456},
                      WriterCase{"StoredKeyed", "NON", {kMethodNone}, 0x01020304}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveWriter, BestKeepsTheSmallestCoding) {
    for (const auto& f : SampleFiles()) {
        const Bytes archive = Write({f}, "LZH", {kMethodRle, kMethodLzh, kMethodLh5}, 0);
        const Parsed parsed = Parse(archive);
        const auto& e = parsed.entries.at(0);
        // Stored unless a coding is strictly smaller.
        int64_t smallest = static_cast<int64_t>(f.plain.size());
        for (uint8_t m : {kMethodRle, kMethodLzh, kMethodLh5}) {
            if (const auto coded = test::TryCompress(m, f.plain)) smallest = std::min<int64_t>(smallest, coded->size());
        }
        EXPECT_EQ(e.header.CompressedSize, smallest) << f.name;
    }
}

// Every entry's scrambling starts again with the key's least significant byte.
TEST(ArchiveWriter, ScramblingRestartsAtEveryEntry) {
    const int32_t key = static_cast<int32_t>(0xA1B2C3D4u);
    const std::vector<File> files = {{"one", test::Text("abcdef")}, {"two", test::Text("uvwxyz")}};
    const Parsed p = Parse(Write(files, "NON", {kMethodNone}, key));
    const uint8_t k[4] = {0xD4, 0xC3, 0xB2, 0xA1};
    for (size_t e = 0; e < 2; ++e)
        for (size_t i = 0; i < 6; ++i) EXPECT_EQ(p.entries[e].data[i], files[e].plain[i] ^ k[i % 4]) << e << ' ' << i;
}

// The source is read from where it stands, and read again for the fallback.
TEST(ArchiveWriter, ReadsTheSourceFromItsCurrentPosition) {
    Bytes framed = test::Text("HEADER");
    const Bytes noise = test::SampleRandom(9000, 8);
    framed.insert(framed.end(), noise.begin(), noise.end());
    MemoryStream src(framed);
    src.SetPosition(6);
    MemoryStream out;
    ArchiveWriter writer(out, "LZH", 0);
    const auto& e = writer.AddEntry({"noise", 0, 0x20}, src, 9000, {kMethodLzh});
    writer.Finish();
    EXPECT_EQ(e.Header.Method, kMethodNone);
    const Parsed p = Parse(out.Bytes());
    EXPECT_TRUE(p.entries.at(0).data == noise);
}

TEST(ArchiveWriter, ASourceShorterThanItsSizeIsAnError) {
    MemoryStream src(test::SampleText(100));
    MemoryStream out;
    ArchiveWriter writer(out, "LZH", 0);
    EXPECT_THROW(writer.AddEntry({"short", 0, 0x20}, src, 5000, {kMethodLzh}), EReadError);
}

TEST(ArchiveWriter, OnlyBuiltInMethodsAreWritten) {
    MemoryStream src(test::SampleText(100));
    MemoryStream out;
    ArchiveWriter writer(out, "CUS", 0);
    EXPECT_THROW(writer.AddEntry({"custom", 0, 0x20}, src, 100, {kMethodCustom}), Exception);
    EXPECT_THROW(writer.AddEntry({"unknown", 0, 0x20}, src, 100, {7}), Exception);
}

TEST(ArchiveWriter, AnArchiveWithoutEntriesIsItsHeader) {
    MemoryStream out;
    ArchiveWriter writer(out, "LZH", 7);
    writer.Finish();
    ASSERT_EQ(out.Bytes().size(), static_cast<size_t>(kArchiveHeaderSize));
    const Parsed p = Parse(out.Bytes());
    EXPECT_EQ(p.header.TotalSize, 0);
    EXPECT_EQ(p.header.KeyFlag, 2);
    EXPECT_TRUE(p.entries.empty());
}

}  // namespace
}  // namespace kelp
