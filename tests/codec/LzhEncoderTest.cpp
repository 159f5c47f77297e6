#include <gtest/gtest.h>

#include "archive/codec/LzhEncoder.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"
#include "support/CodecHarness.h"

namespace kelp {
namespace {

using test::Bytes;

struct Sample {
    const char* name;
    Bytes (*make)();
};

void PrintTo(const Sample& s, std::ostream* os) { *os << s.name; }

Bytes Spaces() { return Bytes(5000, ' '); }
Bytes OneRun() { return Bytes(10000, 'z'); }
Bytes ShortText() { return test::SampleText(118); }
Bytes Text() { return test::SampleText(40000); }
Bytes Code() { return test::SampleCode(50000); }
Bytes Runs() { return test::SampleRuns(30000); }
// Well past 0x8000 symbols: the adaptive model rebuilds several times.
Bytes ManySymbols() {
    Bytes b = test::SampleText(150000);
    const Bytes c = test::SampleCode(150000);
    b.insert(b.end(), c.begin(), c.end());
    return b;
}
// Plain text and noise alternate, so matches come and go across the whole window.
Bytes Mixed() {
    Bytes b;
    for (int i = 0; i < 8; ++i) {
        const Bytes t = test::SampleText(3000 + 500 * i);
        const Bytes r = test::SampleRandom(700, i + 1);
        b.insert(b.end(), t.begin(), t.end());
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

const Sample kSamples[] = {
    {"Spaces", Spaces}, {"OneRun", OneRun}, {"ShortText", ShortText}, {"Text", Text},
    {"Code", Code},     {"Runs", Runs},     {"ManySymbols", ManySymbols}, {"Mixed", Mixed},
};

class LzhEncoderRoundTrip : public ::testing::TestWithParam<Sample> {};

TEST_P(LzhEncoderRoundTrip, DecodesToTheInputAndIsSmaller) {
    const Bytes plain = GetParam().make();
    const auto coded = test::TryCompress(kMethodLzh, plain);
    ASSERT_TRUE(coded.has_value());
    EXPECT_LT(coded->size(), plain.size());
    EXPECT_TRUE(test::Expand(kMethodLzh, *coded, static_cast<int32_t>(plain.size())) == plain);
}

// The cached shared-prefix lengths may only make the search faster: comparing every
// node from its second byte must find the same matches, so the streams are identical.
TEST_P(LzhEncoderRoundTrip, CachedPrefixSearchEqualsFullComparison) {
    const Bytes plain = GetParam().make();
    const Bytes cached = test::CompressUnbounded(
        [](TCodecState& st) { CompressLzhWith(st, LzhSearch::CachedPrefix); }, plain);
    const Bytes full = test::CompressUnbounded(
        [](TCodecState& st) { CompressLzhWith(st, LzhSearch::FullCompare); }, plain);
    EXPECT_TRUE(cached == full);
}

INSTANTIATE_TEST_SUITE_P(Samples, LzhEncoderRoundTrip, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LzhEncoder, EmptyInputWritesNothing) {
    TCodecState st;
    MemoryStream src, dst;
    uint32_t sum = 99;
    EXPECT_EQ(ProcessStream(st, dst, src, 0, 0, kMethodLzh, sum, kCompress, false, nullptr, 0), 0);
    EXPECT_TRUE(dst.Bytes().empty());
    EXPECT_EQ(sum, 0u);
}

// The fresh model gives symbols 116..313 codes of 8 bits, in symbol order from 0,
// and 0..115 codes of 9 bits: one byte >= 116 is exactly one byte, anything lower
// needs a second byte and does not fit the budget of one.
TEST(LzhEncoder, SingleByteFitsOnlyWithAnEightBitCode) {
    for (int c = 0; c < 256; ++c) {
        const Bytes plain{static_cast<uint8_t>(c)};
        const auto coded = test::TryCompress(kMethodLzh, plain);
        if (c >= 116) {
            ASSERT_TRUE(coded.has_value()) << c;
            ASSERT_EQ(coded->size(), 1u) << c;
            EXPECT_EQ((*coded)[0], c - 116) << c;
            EXPECT_TRUE(test::Expand(kMethodLzh, *coded, 1) == plain) << c;
        } else {
            EXPECT_FALSE(coded.has_value()) << c;
            const Bytes unbounded = test::CompressUnbounded(CompressLzh, plain);
            ASSERT_EQ(unbounded.size(), 2u) << c;
            EXPECT_TRUE(test::Expand(kMethodLzh, unbounded, 1) == plain) << c;
        }
    }
}

TEST(LzhEncoder, IncompressibleInputRaisesAtTheBudget) {
    const Bytes plain = test::SampleRandom(20000, 3);
    EXPECT_FALSE(test::TryCompress(kMethodLzh, plain).has_value());
    // Without a budget the stream is longer than the input, and still decodes.
    const Bytes unbounded = test::CompressUnbounded(CompressLzh, plain);
    EXPECT_GT(unbounded.size(), plain.size());
    EXPECT_TRUE(test::Expand(kMethodLzh, unbounded, static_cast<int32_t>(plain.size())) == plain);
}

// A run: one literal, then matches of distance 0 and the longest length. Each
// 60-byte match costs far less than a byte, so the whole run stays tiny.
TEST(LzhEncoder, RunBecomesLongMatches) {
    const Bytes plain(6001, 'q');
    const auto coded = test::TryCompress(kMethodLzh, plain);
    ASSERT_TRUE(coded.has_value());
    EXPECT_LT(coded->size(), 6001u / 60u * 2u);
    EXPECT_TRUE(test::Expand(kMethodLzh, *coded, 6001) == plain);
}

// Leading spaces match the ring's initial spaces, so the first symbol is already a match.
TEST(LzhEncoder, LeadingSpacesMatchThePrefilledRing) {
    Bytes plain(60, ' ');
    const Bytes tail = test::SampleText(200);
    plain.insert(plain.end(), tail.begin(), tail.end());
    const Bytes coded = test::CompressUnbounded(CompressLzh, plain);
    const Bytes literalOnly = test::CompressUnbounded(CompressLzh, tail);
    // 60 spaces cost about two bytes (a length and a distance), not 60 literals.
    EXPECT_LE(coded.size(), literalOnly.size() + 3);
    EXPECT_TRUE(test::Expand(kMethodLzh, coded, static_cast<int32_t>(plain.size())) == plain);
}

// Short inputs compare against ring bytes nothing has written yet; they must be a
// fixed value, so the same input always gives the same stream.
TEST(LzhEncoder, ShortInputsAreDeterministic) {
    for (size_t n : {1u, 2u, 3u, 17u, 60u, 61u, 118u, 119u}) {
        const Bytes plain = test::SampleCode(n);
        const Bytes a = test::CompressUnbounded(CompressLzh, plain);
        const Bytes b = test::CompressUnbounded(CompressLzh, plain);
        EXPECT_TRUE(a == b) << n;
        EXPECT_TRUE(test::Expand(kMethodLzh, a, static_cast<int32_t>(n)) == plain) << n;
    }
}

TEST(LzhEncoder, ScramblesItsOutputWithTheKey) {
    const Bytes plain = test::SampleText(5000);
    const auto open = test::TryCompress(kMethodLzh, plain);
    const int32_t key = 0x11223344;
    const auto locked = test::TryCompress(kMethodLzh, plain, key);
    ASSERT_TRUE(open && locked);
    ASSERT_EQ(open->size(), locked->size());
    for (size_t i = 0; i < open->size(); ++i)
        ASSERT_EQ((*locked)[i], (*open)[i] ^ static_cast<uint8_t>(static_cast<uint32_t>(key) >> (8 * (i % 4)))) << i;
}

}  // namespace
}  // namespace kelp
