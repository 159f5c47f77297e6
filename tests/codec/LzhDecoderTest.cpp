// The LZH decoder and its adaptive model.
#include <gtest/gtest.h>

#include <algorithm>

#include "archive/codec/LzhModel.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"
#include "support/LhaMember.h"
#include "support/LzhSymbolWriter.h"

namespace kelp {
namespace {

using test::Bytes;

TEST(LzhDistanceCode, IsCanonicalWithTheDocumentedCodes) {
    const auto& t = lzh::kDistance;
    const std::vector<std::tuple<int, uint8_t, uint8_t>> known = {
        {0, 0x00, 3}, {1, 0x20, 4}, {2, 0x30, 4}, {3, 0x40, 4}, {4, 0x50, 5},
        {12, 0x90, 6}, {24, 0xC0, 7}, {48, 0xF0, 8}, {63, 0xFF, 8}};
    for (auto [upper, code, len] : known) {
        EXPECT_EQ(t.Code[upper], code) << upper;
        EXPECT_EQ(t.CodeLen[upper], len) << upper;
    }
    // Every byte value starts with exactly one code.
    for (int b = 0; b < 256; ++b) {
        const int u = t.PrefixToUpper[b];
        const int len = t.PrefixToLen[b];
        EXPECT_EQ(len, t.CodeLen[u]);
        EXPECT_EQ(b >> (8 - len), t.Code[u] >> (8 - len)) << b;
    }
}

// Checks the model's invariants: sorted weights, adjacent siblings, sums, links.
void ExpectConsistent(const lzh::Model& m) {
    for (int i = 0; i + 1 < lzh::kNodes; ++i) ASSERT_LE(m.Freq[i], m.Freq[i + 1]) << i;
    for (int n = 0; n < lzh::kNodes; ++n) {
        const int d = m.Down[n];
        if (d >= lzh::kNodes) {
            ASSERT_EQ(m.Up[d], n);
        } else {
            ASSERT_EQ(m.Up[d], n);
            ASSERT_EQ(m.Up[d + 1], n);
            ASSERT_EQ(m.Freq[n], m.Freq[d] + m.Freq[d + 1]) << n;
        }
    }
}

TEST(LzhModel, RebuildHalvesLeavesUpwardsWhenRootReaches0x8000) {
    auto m = std::make_unique<lzh::Model>();
    m->StartModel();
    ExpectConsistent(*m);
    // Skewed symbol stream until the root is at the rebuild weight.
    int updates = 0;
    while (m->Freq[lzh::kRoot] < lzh::kRebuildWeight) {
        m->UpdateModel((updates * 7 % 11 == 0) ? updates % lzh::kSymbols : 'e');
        ++updates;
    }
    ExpectConsistent(*m);
    ASSERT_EQ(m->Freq[lzh::kRoot], lzh::kRebuildWeight);
    std::vector<int> before(lzh::kSymbols);
    for (int s = 0; s < lzh::kSymbols; ++s) before[s] = m->Freq[m->Up[lzh::kNodes + s]];

    m->UpdateModel('x');
    ExpectConsistent(*m);
    for (int s = 0; s < lzh::kSymbols; ++s) {
        const int expected = (before[s] + 1) / 2 + (s == 'x' ? 1 : 0);
        EXPECT_EQ(m->Freq[m->Up[lzh::kNodes + s]], expected) << s;
    }
    EXPECT_LT(m->Freq[lzh::kRoot], lzh::kRebuildWeight);
}

Bytes DecodeLzh(const Bytes& coded, int32_t size) { return test::Decode(kMethodLzh, coded, size); }

TEST(LzhDecoder, DecodesChosenSymbols) {
    struct Case {
        const char* what;
        std::function<void(test::LzhSymbolWriter&)> write;
        Bytes expected;
    };
    auto repeat = [](uint8_t b, size_t n) { return Bytes(n, b); };
    const std::vector<Case> cases = {
        {"literals", [](auto& w) { for (char c : std::string("abc")) w.Literal(static_cast<uint8_t>(c)); },
         test::Text("abc")},
        {"distance 0 length 60 repeats the previous byte",
         [](auto& w) { w.Literal('A'); w.Match(60, 0); }, repeat('A', 61)},
        {"distance 0 length 10 after two literals",
         [](auto& w) { w.Literal('x'); w.Literal('y'); w.Match(10, 0); }, test::Text("xyyyyyyyyyyy")},
        {"a first match copies the initial spaces", [](auto& w) { w.Match(10, 100); }, repeat(' ', 10)},
        {"distance 1 repeats a pair",
         [](auto& w) { w.Literal('a'); w.Literal('b'); w.Match(6, 1); }, test::Text("abababab")},
        {"far distance reaches into the spaces",
         [](auto& w) { w.Literal('q'); w.Match(3, 4035); }, test::Text("q   ")},
    };
    for (const auto& c : cases) {
        test::LzhSymbolWriter w;
        c.write(w);
        EXPECT_EQ(DecodeLzh(w.Finish(), static_cast<int32_t>(c.expected.size())), c.expected) << c.what;
    }
}

TEST(LzhDecoder, AMatchIsWrittenInFullPastDestSize) {
    test::LzhSymbolWriter w;
    w.Literal('z');
    w.Match(20, 0);
    EXPECT_EQ(DecodeLzh(w.Finish(), 5).size(), 21u);
}

TEST(LzhDecoder, ManySymbolsAcrossModelRebuilds) {
    // Enough symbols for several rebuilds; the writer keeps its own model in step.
    test::LzhSymbolWriter w;
    Bytes expected;
    uint32_t x = 1;
    while (expected.size() < 300000) {
        x = x * 1103515245 + 12345;
        if ((x >> 16) % 5 == 0 && expected.size() > 70) {
            const int len = 3 + static_cast<int>((x >> 8) % 58);
            const int dist = static_cast<int>((x >> 3) % 64);
            w.Match(len, dist);
            const size_t from = expected.size() - dist - 1;
            for (int k = 0; k < len; ++k) expected.push_back(expected[from + k]);
        } else {
            const uint8_t c = static_cast<uint8_t>("etaoin shrdlu"[(x >> 20) % 13]);
            w.Literal(c);
            expected.push_back(c);
        }
    }
    EXPECT_EQ(DecodeLzh(w.Finish(), static_cast<int32_t>(expected.size())), expected);
}

TEST(LzhDecoder, ExhaustedInputDecodesAsZeroBits) {
    const int32_t size = 5000;
    const Bytes fromNothing = DecodeLzh({}, size);
    EXPECT_GE(fromNothing.size(), static_cast<size_t>(size)) << "a last match may run past the size";
    EXPECT_EQ(fromNothing[0], 116) << "the all-zero path of a fresh tree leads to symbol 116";
    EXPECT_EQ(fromNothing, DecodeLzh(Bytes(4000, 0), size));
}

TEST(LzhDecoder, DestSizeZeroReadsNothing) {
    MemoryStream src(Bytes{1, 2, 3}), dst;
    TCodecState st;
    uint32_t sum = 7;
    std::vector<int32_t> progress;
    ProcessStream(st, dst, src, 3, 0, kMethodLzh, sum, kExpand, false, [&](int32_t& p) { progress.push_back(p); }, 0);
    EXPECT_EQ(sum, 0u);
    EXPECT_EQ(src.Position(), 0);
    EXPECT_TRUE(dst.Bytes().empty());
    EXPECT_EQ(progress, (std::vector<int32_t>{0, 100}));
}

// -lh1- members made by another LHA implementation carry our LZH stream.
class LzhFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(LzhFixture, RestoresTheOriginalByteForByte) {
    const std::string dir = KELP_FIXTURES_DIR "/lzh/";
    const std::string original = GetParam() == "text" ? "text.txt" : GetParam() + ".bin";
    const auto member = test::ReadLhaMember(test::ReadFile(dir + GetParam() + ".lh1.lzh"));
    ASSERT_TRUE(member.has_value());
    ASSERT_EQ(member->method, "-lh1-");
    const Bytes expected = test::ReadFile(dir + original);
    ASSERT_EQ(member->originalSize, expected.size());

    // Framed by other bytes, as an entry in an archive: the run ends exactly at the data's end.
    Bytes framed(100, 0xEE);
    framed.insert(framed.end(), member->data.begin(), member->data.end());
    framed.insert(framed.end(), 50, 0xEE);
    MemoryStream src(framed), dst;
    src.SetPosition(100);
    TCodecState st;
    uint32_t sum = 0;
    ProcessStream(st, dst, src, static_cast<int32_t>(member->data.size()), static_cast<int32_t>(expected.size()),
                  kMethodLzh, sum, kExpand, false, nullptr, 0);
    EXPECT_TRUE(dst.Bytes() == expected);
    EXPECT_EQ(sum, test::ByteSumOf(expected));
    EXPECT_EQ(src.Position(), static_cast<int64_t>(100 + member->data.size()));
}

INSTANTIATE_TEST_SUITE_P(Peers, LzhFixture, ::testing::Values("text", "mixed", "runs"));

TEST(LzhDecoder, DamagedStreamsEndInAChecksumMismatchNotACrash) {
    const auto member = test::ReadLhaMember(test::ReadFile(KELP_FIXTURES_DIR "/lzh/text.lh1.lzh"));
    ASSERT_TRUE(member.has_value());
    const Bytes expected = test::ReadFile(KELP_FIXTURES_DIR "/lzh/text.txt");
    for (size_t cut : {size_t{0}, size_t{1}, member->data.size() / 2, member->data.size() - 1}) {
        Bytes damaged(member->data.begin(), member->data.begin() + static_cast<long>(cut));
        uint32_t sum = 0;
        const Bytes out = test::Decode(kMethodLzh, damaged, static_cast<int32_t>(expected.size()), &sum);
        EXPECT_GE(out.size(), expected.size());
        EXPECT_NE(sum, test::ByteSumOf(expected)) << cut;
    }
}

}  // namespace
}  // namespace kelp
