#include <gtest/gtest.h>

#include <string>

#include "archive/codec/Lh5Huffman.h"
#include "archive/codec/Lh5Table.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"
#include "support/CodecHarness.h"
#include "support/LhaMember.h"

namespace kelp {
namespace {

using test::Bytes;
using test::BitWriter;

struct Sample {
    const char* name;
    Bytes (*make)();
};
void PrintTo(const Sample& s, std::ostream* os) { *os << s.name; }

Bytes Spaces() { return Bytes(3000, ' '); }
Bytes OneRun() { return Bytes(20000, 0); }
Bytes Text() { return test::SampleText(12000); }
Bytes Code() { return test::SampleCode(30000); }
Bytes Runs() { return test::SampleRuns(50000); }
// Several 16 KB symbol blocks and many dictionary refills.
Bytes Large() {
    Bytes b = test::SampleText(120000);
    const Bytes c = test::SampleCode(120000);
    b.insert(b.end(), c.begin(), c.end());
    const Bytes r = test::SampleRandom(20000, 9);
    b.insert(b.end(), r.begin(), r.end());
    const Bytes t = test::SampleText(60000);
    b.insert(b.end(), t.begin(), t.end());
    return b;
}
// Exactly one dictionary's worth, and one byte either side.
Bytes DictMinus() { return test::SampleCode(8191); }
Bytes Dict() { return test::SampleCode(8192); }
Bytes DictPlus() { return test::SampleCode(8193); }

const Sample kSamples[] = {{"Spaces", Spaces}, {"OneRun", OneRun},       {"Text", Text},
                           {"Code", Code},     {"Runs", Runs},           {"Large", Large},
                           {"DictMinus", DictMinus}, {"Dict", Dict}, {"DictPlus", DictPlus}};

class Lh5RoundTrip : public ::testing::TestWithParam<Sample> {};

TEST_P(Lh5RoundTrip, DecodesToTheInputAndIsSmaller) {
    const Bytes plain = GetParam().make();
    const auto coded = test::TryCompress(kMethodLh5, plain);
    ASSERT_TRUE(coded.has_value());
    EXPECT_LT(coded->size(), plain.size());
    EXPECT_TRUE(test::Expand(kMethodLh5, *coded, static_cast<int32_t>(plain.size())) == plain);
}

INSTANTIATE_TEST_SUITE_P(Samples, Lh5RoundTrip, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Lh5Encoder, EmptyInputWritesNothing) {
    EXPECT_TRUE(test::CompressUnbounded(CompressLh5, {}).empty());
    const auto coded = test::TryCompress(kMethodLh5, {});
    ASSERT_TRUE(coded.has_value());
    EXPECT_TRUE(coded->empty());
}

// One byte: block size 1 (16 bits), code-length code "count 0, symbol 0" (5 + 5),
// literal/length code "count 0, the byte" (9 + 9), position code "count 0,
// symbol 0" (4 + 4), no bits for the literal itself: 52 bits, 7 bytes.
TEST(Lh5Encoder, OneByteIsSevenBytesAndDoesNotFitItsBudget) {
    for (int c : {0x00, 0x41, 0xFF}) {
        const Bytes plain{static_cast<uint8_t>(c)};
        BitWriter expected;
        expected.Put(1, 16);
        expected.Put(0, 5);
        expected.Put(0, 5);
        expected.Put(0, 9);
        expected.Put(static_cast<uint32_t>(c), 9);
        expected.Put(0, 4);
        expected.Put(0, 4);
        const Bytes coded = test::CompressUnbounded(CompressLh5, plain);
        EXPECT_TRUE(coded == expected.Finish()) << c;
        EXPECT_TRUE(test::Expand(kMethodLh5, coded, 1) == plain) << c;
        EXPECT_FALSE(test::TryCompress(kMethodLh5, plain).has_value()) << c;
    }
}

TEST(Lh5Encoder, IncompressibleInputRaisesAtTheBudget) {
    const Bytes plain = test::SampleRandom(40000, 5);
    EXPECT_FALSE(test::TryCompress(kMethodLh5, plain).has_value());
    const Bytes unbounded = test::CompressUnbounded(CompressLh5, plain);
    EXPECT_GT(unbounded.size(), plain.size());
    EXPECT_TRUE(test::Expand(kMethodLh5, unbounded, static_cast<int32_t>(plain.size())) == plain);
}

// Fibonacci counts give the deepest Huffman trees: 24 symbols would need codes of
// 23 bits. The builder cuts them to 16 and the code must stay complete (the table
// builder accepts only complete codes), with rarer symbols never getting shorter codes.
TEST(Lh5Huffman, FibonacciCountsAreLimitedToSixteenBitsAndStayComplete) {
    constexpr int n = 24;
    uint16_t freq[2 * n - 1] = {};
    uint32_t a = 1, b = 1;
    for (int i = 0; i < n; ++i) {
        freq[i] = static_cast<uint16_t>(a);
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    uint8_t len[n];
    uint16_t code[n];
    lh5::TreeNodes nodes{};
    lh5::HuffmanBuilder builder;
    const int root = builder.MakeTree(n, freq, len, code, nodes);
    EXPECT_GE(root, n);
    uint32_t kraft = 0;
    for (int i = 0; i < n; ++i) {
        ASSERT_GE(len[i], 1) << i;
        ASSERT_LE(len[i], 16) << i;
        kraft += 1u << (16 - len[i]);
        if (i > 0) {
            EXPECT_LE(len[i], len[i - 1]) << i;
        }
    }
    EXPECT_EQ(kraft, 1u << 16);
    // The canonical codes decode back to their symbols through the decoder's table.
    uint16_t table[1 << 12];
    lh5::TreeNodes decodeNodes{};
    lh5::BuildTable(n, len, 12, table, decodeNodes);
    for (int i = 0; i < n; ++i) {
        unsigned j = table[code[i] >> 4];
        for (uint32_t mask = 1u << 3; j >= static_cast<unsigned>(n); mask >>= 1)
            j = (code[i] & mask) ? decodeNodes.Right[j] : decodeNodes.Left[j];
        EXPECT_EQ(j, static_cast<unsigned>(i));
    }
}

// --- Table builder ---------------------------------------------------------------

TEST(Lh5BuildTable, ShortCodesComeFromTheTableLongOnesFromTheTree) {
    // Lengths 1, 2, ..., 15, 16, 16: complete. Symbol k has the code of k ones then
    // a zero; the last two are fifteen ones followed by 0 and 1.
    uint8_t lengths[17];
    for (int k = 0; k < 16; ++k) lengths[k] = static_cast<uint8_t>(k + 1);
    lengths[16] = 16;
    uint16_t table[1 << 12];
    lh5::TreeNodes nodes{};
    lh5::BuildTable(17, lengths, 12, table, nodes);
    auto decode = [&](uint32_t code16) {
        unsigned j = table[code16 >> 4];
        for (uint32_t mask = 1u << 3; j >= 17; mask >>= 1) j = (code16 & mask) ? nodes.Right[j] : nodes.Left[j];
        return j;
    };
    for (int k = 0; k < 16; ++k) {
        const uint32_t code = (0xFFFFu << (16 - k)) & 0xFFFF;  // k ones, then zeros
        EXPECT_EQ(decode(code), static_cast<unsigned>(k)) << k;
        if (k < 12) {
            EXPECT_EQ(table[code >> 4], k) << "a code of " << k + 1 << " bits is one look-up";
        }
    }
    EXPECT_EQ(decode(0xFFFF), 16u);
    EXPECT_GE(table[0xFFF], 17) << "codes beyond 12 bits continue in the tree";
}

struct BadLengths {
    const char* name;
    std::vector<uint8_t> lengths;
};
void PrintTo(const BadLengths& b, std::ostream* os) { *os << b.name; }

std::vector<uint8_t> Repeat(std::initializer_list<std::pair<int, uint8_t>> runs) {
    std::vector<uint8_t> v;
    for (auto [n, len] : runs) v.insert(v.end(), static_cast<size_t>(n), len);
    return v;
}

class Lh5BuildTableRejects : public ::testing::TestWithParam<BadLengths> {};

TEST_P(Lh5BuildTableRejects, IncompleteOrOverfullCodes) {
    const auto& lengths = GetParam().lengths;
    uint16_t table[1 << 8];
    lh5::TreeNodes nodes{};
    EXPECT_THROW(lh5::BuildTable(static_cast<int>(lengths.size()), lengths.data(), 8, table, nodes),
                 ELZHBadDecodeTable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lh5BuildTableRejects,
    ::testing::Values(
        BadLengths{"AllZero", Repeat({{19, 0}})},
        BadLengths{"Sum65535", Repeat({{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8},
                                        {1, 9}, {1, 10}, {1, 11}, {1, 12}, {1, 13}, {1, 14}, {1, 15}, {1, 16}})},
        BadLengths{"Sum65537", Repeat({{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8},
                                        {1, 9}, {1, 10}, {1, 11}, {1, 12}, {1, 13}, {1, 14}, {1, 15}, {3, 16}})},
        BadLengths{"SingleOneBitCode", Repeat({{1, 1}, {13, 0}})},
        BadLengths{"ThreeOneBitCodes", Repeat({{3, 1}})},
        BadLengths{"LengthAbove16", Repeat({{1, 1}, {1, 17}, {1, 17}})}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Hand-made streams -----------------------------------------------------------

// A block header whose three codes each have a single symbol of no bits.
void SingleSymbolBlock(BitWriter& w, uint32_t size, uint32_t symbol, uint32_t position = 0) {
    w.Put(size, 16);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 9);
    w.Put(symbol, 9);
    w.Put(0, 4);
    w.Put(position, 4);
}

TEST(Lh5Decoder, SingleSymbolBlockRepeatsThatSymbol) {
    BitWriter w;
    SingleSymbolBlock(w, 5, 'x');
    EXPECT_TRUE(test::Expand(kMethodLh5, w.Finish(), 5) == Bytes(5, 'x'));
}

// A match with a single position symbol 0 (distance 0) copies the byte before the
// write position; at the start that is the window's initial space.
TEST(Lh5Decoder, FirstMatchCopiesTheInitialSpaces) {
    BitWriter w;
    SingleSymbolBlock(w, 2, 256 + 10 - 3);  // two matches of length 10
    EXPECT_TRUE(test::Expand(kMethodLh5, w.Finish(), 20) == Bytes(20, ' '));
}

// A size field of 0 stands for 65536 symbols; the next block follows after them.
TEST(Lh5Decoder, BlockSizeZeroMeans65536Symbols) {
    BitWriter w;
    SingleSymbolBlock(w, 0, 'a');
    SingleSymbolBlock(w, 4, 'b');
    Bytes expected(65536, 'a');
    expected.insert(expected.end(), 4, 'b');
    EXPECT_TRUE(test::Expand(kMethodLh5, w.Finish(), 65540) == expected);
}

TEST(Lh5Decoder, DestSizeZeroReadsNothing) {
    TCodecState st;
    const Bytes junk{1, 2, 3};
    MemoryStream src(junk), dst;
    uint32_t sum = 7;
    ProcessStream(st, dst, src, 3, 0, kMethodLh5, sum, kExpand, false, nullptr, 0);
    EXPECT_TRUE(dst.Bytes().empty());
    EXPECT_EQ(src.Position(), 0);
    EXPECT_EQ(sum, 0u);
}

struct BadStream {
    const char* name;
    Bytes (*make)();
};
void PrintTo(const BadStream& b, std::ostream* os) { *os << b.name; }

Bytes CodeLenSingleValue510() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 9);
    w.Put(510, 9);
    return w.Finish();
}
Bytes CodeLenSingleValue511() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 9);
    w.Put(511, 9);
    return w.Finish();
}
Bytes LengthCodeSingleValue19() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(19, 5);
    return w.Finish();
}
Bytes PositionSingleValue14() {
    BitWriter w;
    SingleSymbolBlock(w, 1, 'a', 14);
    return w.Finish();
}
Bytes PositionSingleValue15() {
    BitWriter w;
    SingleSymbolBlock(w, 1, 'a', 15);
    return w.Finish();
}
// Code-length code with lengths 1,1 for symbols 0..1? Symbols 0, 1, 2 get lengths
// 1, 2, 2 (complete); then runs of zeros (symbol 2: 20 + 9 bits) go past 510.
Bytes ZeroRunPast510() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(3, 5);   // three code-length lengths
    w.Put(1, 3);   // symbol 0: length 1 -> code 0
    w.Put(2, 3);   // symbol 1: length 2 -> code 10
    w.Put(2, 3);   // symbol 2: length 2 -> code 11
    w.Put(0, 2);   // no extra zeros after the third
    w.Put(510, 9); // 510 literal/length lengths are sent
    w.Put(3, 2);   // symbol 2: a run of 20 + n zeros
    w.Put(500, 9); // 520 zeros
    return w.Finish();
}
// A length field of 111 followed by ten ones describes a length of 17.
Bytes LengthAbove16() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(2, 5);
    w.Put(0x7, 3);
    w.Put(0x3FF, 10);
    w.Put(0, 1);
    w.Put(0, 16);
    return w.Finish();
}
// Literal/length count field above 510.
Bytes CodeLenCount511() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(3, 5);
    w.Put(1, 3);
    w.Put(2, 3);
    w.Put(2, 3);
    w.Put(0, 2);
    w.Put(511, 9);
    for (int i = 0; i < 600; ++i) w.Put(0, 1);
    return w.Finish();
}
// Lengths that are not a complete code: two literal lengths of 2.
Bytes IncompleteLiteralCode() {
    BitWriter w;
    w.Put(1, 16);
    w.Put(3, 5);
    w.Put(1, 3);  // symbol 0 (one zero length): code 0
    w.Put(2, 3);  // symbol 1: code 10
    w.Put(2, 3);  // symbol 2: code 11
    w.Put(0, 2);
    w.Put(2, 9);    // two lengths follow
    w.Put(0, 1);    // symbol 0: zero
    w.Put(0, 1);    // symbol 0: zero  -> both zero: no code at all
    return w.Finish();
}

class Lh5DecoderRejects : public ::testing::TestWithParam<BadStream> {};

TEST_P(Lh5DecoderRejects, MalformedStreamWithTheBadTableError) {
    try {
        test::Expand(kMethodLh5, GetParam().make(), 100);
        FAIL() << "no error";
    } catch (const ELZHBadDecodeTable& e) {
        EXPECT_STREQ(e.what(), "Bad decode table in archive!");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Lh5DecoderRejects,
                         ::testing::Values(BadStream{"CodeLenSingleValue510", CodeLenSingleValue510},
                                           BadStream{"CodeLenSingleValue511", CodeLenSingleValue511},
                                           BadStream{"LengthCodeSingleValue19", LengthCodeSingleValue19},
                                           BadStream{"PositionSingleValue14", PositionSingleValue14},
                                           BadStream{"PositionSingleValue15", PositionSingleValue15},
                                           BadStream{"ZeroRunPast510", ZeroRunPast510},
                                           BadStream{"LengthAbove16", LengthAbove16},
                                           BadStream{"CodeLenCount511", CodeLenCount511},
                                           BadStream{"IncompleteLiteralCode", IncompleteLiteralCode}),
                         [](const auto& info) { return std::string(info.param.name); });

// Arbitrary bytes either decode to DestSize bytes or end in the bad-table error;
// under the sanitizers this also shows that no table is read out of bounds.
TEST(Lh5Decoder, ArbitraryBytesNeverEscapeTheTables) {
    int rejected = 0;
    for (uint64_t seed = 1; seed <= 400; ++seed) {
        Bytes stream = test::SampleRandom(64 + seed % 200, seed);
        if (seed % 2) stream[0] = 0;  // small blocks reach the symbols more often
        try {
            const Bytes out = test::Expand(kMethodLh5, stream, 3000);
            EXPECT_GE(out.size(), 3000u);
        } catch (const ELZHBadDecodeTable&) {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 0);
}

// A bad table found in a later block: what was decoded before it has been handed
// to the sink, whole 8192-byte output blocks stand in the destination.
TEST(Lh5Decoder, BadTableInALaterBlockKeepsFullOutputBlocks) {
    BitWriter w;
    SingleSymbolBlock(w, 9000, 'k');
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(25, 5);  // code-length single symbol outside its alphabet
    const Bytes coded = w.Finish();
    TCodecState st;
    MemoryStream src(coded), dst;
    uint32_t sum = 0;
    EXPECT_THROW(ProcessStream(st, dst, src, static_cast<int32_t>(coded.size()), 10000, kMethodLh5, sum, kExpand,
                               false, nullptr, 0),
                 ELZHBadDecodeTable);
    EXPECT_TRUE(dst.Bytes() == Bytes(8192, 'k'));
}

// --- Streams made by other LHA implementations -----------------------------------

class Lh5Fixture : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(Lh5Fixture, RestoresTheOriginalByteForByte) {
    const std::string dir = KELP_FIXTURES_DIR "/lzh/";
    const auto member = test::ReadLhaMember(test::ReadFile(dir + GetParam().first));
    ASSERT_TRUE(member.has_value());
    ASSERT_EQ(member->method, "-lh5-");
    const Bytes expected = test::ReadFile(dir + GetParam().second);
    ASSERT_EQ(member->originalSize, expected.size());
    Bytes framed(33, 0xEE);
    framed.insert(framed.end(), member->data.begin(), member->data.end());
    framed.insert(framed.end(), 20, 0xEE);
    MemoryStream src(framed), dst;
    src.SetPosition(33);
    TCodecState st;
    uint32_t sum = 0;
    ProcessStream(st, dst, src, static_cast<int32_t>(member->data.size()), static_cast<int32_t>(expected.size()),
                  kMethodLh5, sum, kExpand, false, nullptr, 0);
    EXPECT_TRUE(dst.Bytes() == expected);
    EXPECT_EQ(sum, test::ByteSumOf(expected));
    EXPECT_EQ(src.Position(), static_cast<int64_t>(33 + member->data.size()));
}

INSTANTIATE_TEST_SUITE_P(Peers, Lh5Fixture,
                         ::testing::Values(std::pair<std::string, std::string>{"text.lh5.lzh", "text.txt"},
                                           std::pair<std::string, std::string>{"mixed.lh5.lzh", "mixed.bin"},
                                           std::pair<std::string, std::string>{"runs.lh5.lzh", "runs.bin"},
                                           std::pair<std::string, std::string>{"text.jlha.lh5.lzh", "text.txt"},
                                           std::pair<std::string, std::string>{"mixed.jlha.lh5.lzh", "mixed.bin"},
                                           std::pair<std::string, std::string>{"runs.jlha.lh5.lzh", "runs.bin"}));

}  // namespace
}  // namespace kelp
