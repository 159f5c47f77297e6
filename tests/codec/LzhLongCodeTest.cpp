// Codes of more than 16 bits: the LZH encoder writes them in two pieces, so an input
// must drive the adaptive tree that deep, and the stream must still be read right by
// a bit-at-a-time reader, our decoder and lhasa.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

#include "archive/codec/LzhModel.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"
#include "support/CodecHarness.h"
#include "support/LhaWrap.h"
#include "support/LzhSymbolWriter.h"
#include "support/RunProgram.h"

namespace kelp {
namespace {

using test::Bytes;

// A Huffman tree is deepest when the weights grow like Fibonacci numbers: every
// node on the way down then has a single symbol beside it. The weight-1 symbols
// (the ones never sent) make a subtree of depth 8 to 9 at the bottom; above it
// sit eight literals, each at least as heavy as the node below its neighbour,
// and the length-60 match at the top. The root stays below the rebuild weight.
//
// Literals are kept from becoming matches: each is followed by a run of 60 equal
// bytes, and the three bytes from each literal on never occur twice in the ring.
// Each run repeats one of 40 run bytes seen less than a window ago, so it is one
// length-60 match. A byte never seen before comes last, from the deepest level.
Bytes DeepTreeInput() {
    constexpr int kLiterals = 8;
    constexpr int kRunBytes = 40;
    constexpr int kRun = 60;
    constexpr long kBottom = 390;  // weight of the bottom subtree: unused symbols and run bytes
    long want[kLiterals];
    long below = kBottom, belowThat = 0;
    for (int i = 0; i < kLiterals; ++i) {
        // 2% above the least weight that still keeps the chain.
        const long least = i == 0 ? (kBottom * 11 + 19) / 20 : std::max(belowThat, want[i - 1]);
        want[i] = i == 0 ? least : (least * 51 + 49) / 50;
        belowThat = below;
        below += want[i];
    }
    long left[kLiterals];
    std::copy(std::begin(want), std::end(want), left);
    long literalsLeft = below - kBottom;

    Bytes out;
    std::unordered_map<uint32_t, long> seenAt;  // three bytes -> where they start
    auto fresh = [&](uint32_t key, long at) {
        const auto it = seenAt.find(key);
        return it == seenAt.end() || at - it->second >= lzh::kRingSize;
    };
    long lastRun[kRunBytes];
    std::fill(std::begin(lastRun), std::end(lastRun), -1);
    Bytes pending;  // literals waiting for the run after them
    for (int unit = 0;; ++unit) {
        // The run byte used longest ago among those that keep the pending literals' contexts new.
        int run = -1;
        for (int b = 0; b < kRunBytes; ++b) {
            const auto runByte = static_cast<uint8_t>(0x80 + b);
            bool ok = true;
            for (size_t k = 0; k < pending.size(); ++k) {
                const uint8_t next = k + 1 < pending.size() ? pending[k + 1] : runByte;
                const uint8_t after = k + 2 < pending.size() ? pending[k + 2] : runByte;
                const uint32_t key = uint32_t{pending[k]} << 16 | uint32_t{next} << 8 | after;
                ok = ok && fresh(key, static_cast<long>(out.size() + k));
            }
            if (ok && (run < 0 || lastRun[b] < lastRun[run])) run = b;
        }
        if (run < 0) return {};
        const auto runByte = static_cast<uint8_t>(0x80 + run);
        for (size_t k = 0; k < pending.size(); ++k) {
            const uint8_t next = k + 1 < pending.size() ? pending[k + 1] : runByte;
            const uint8_t after = k + 2 < pending.size() ? pending[k + 2] : runByte;
            seenAt[uint32_t{pending[k]} << 16 | uint32_t{next} << 8 | after] = static_cast<long>(out.size());
            out.push_back(pending[k]);
        }
        pending.clear();
        lastRun[run] = static_cast<long>(out.size());
        out.insert(out.end(), kRun, runByte);
        if (literalsLeft == 0) break;
        // One literal and two in turn; each the one furthest behind its share.
        const int count = static_cast<int>(std::min<long>(1 + unit % 2, literalsLeft));
        int previous = -1;
        for (int k = 0; k < count; ++k) {
            int pick = -1;
            for (int i = 0; i < kLiterals; ++i) {
                if (left[i] == 0 || (i == previous && literalsLeft > 1)) continue;
                if (pick < 0 || left[i] * want[pick] > left[pick] * want[i]) pick = i;
            }
            pending.push_back(static_cast<uint8_t>('A' + pick));
            --left[pick];
            --literalsLeft;
            previous = pick;
        }
    }
    out.push_back(0x7F);
    return out;
}

// One symbol as a reader following the tree bit by bit sees it.
struct ReadSymbol {
    int symbol;
    int codeBits;
    int distance;  // for a match: 0 is the byte just before
};

// Reads an LZH stream one bit at a time with its own model, independent of the
// decoder's tables, and rebuilds the plain bytes as it goes.
std::vector<ReadSymbol> ReadBitByBit(const Bytes& coded, size_t plainSize, Bytes& plain) {
    size_t bit = 0;
    auto next = [&]() -> unsigned {
        const unsigned b = bit / 8 < coded.size() ? (coded[bit / 8] >> (7 - bit % 8)) & 1u : 0u;
        ++bit;
        return b;
    };
    auto model = std::make_unique<lzh::Model>();
    model->StartModel();
    uint8_t ring[lzh::kRingSize];
    std::fill(std::begin(ring), std::end(ring), ' ');
    unsigned r = lzh::kStartPos;
    std::vector<ReadSymbol> symbols;
    while (plain.size() < plainSize) {
        int n = model->Down[lzh::kRoot];
        int bits = 0;
        while (n < lzh::kNodes) {
            n = model->Down[n + static_cast<int>(next())];
            ++bits;
        }
        const int symbol = n - lzh::kNodes;
        model->UpdateModel(symbol);
        if (symbol < 256) {
            symbols.push_back({symbol, bits, 0});
            ring[r] = static_cast<uint8_t>(symbol);
            r = (r + 1) % lzh::kRingSize;
            plain.push_back(static_cast<uint8_t>(symbol));
            continue;
        }
        unsigned prefix = 0;
        for (int i = 0; i < 8; ++i) prefix = prefix * 2 + next();
        bit -= 8;
        const unsigned upper = lzh::kDistance.PrefixToUpper[prefix];
        bit += lzh::kDistance.PrefixToLen[prefix];
        unsigned lower = 0;
        for (int i = 0; i < 6; ++i) lower = lower * 2 + next();
        const unsigned distance = upper * 64 + lower;
        symbols.push_back({symbol, bits, static_cast<int>(distance)});
        for (int k = 0; k < symbol - 253; ++k) {
            const uint8_t c = ring[(r + lzh::kRingSize - distance - 1) % lzh::kRingSize];
            ring[r] = c;
            r = (r + 1) % lzh::kRingSize;
            plain.push_back(c);
        }
    }
    plain.resize(plainSize);
    return symbols;
}

bool HaveLhasa() { return test::RunProgram("/bin/sh", {"-c", "command -v lhasa"}).status == 0; }

TEST(LzhLongCodes, CodesBeyondSixteenBitsAreWrittenWhole) {
    const Bytes plain = DeepTreeInput();
    ASSERT_FALSE(plain.empty()) << "no run byte kept the literals' contexts new";
    const Bytes coded = test::CompressUnbounded(CompressLzh, plain);

    // The stream read bit by bit: the plain bytes come back, and some code took more than 16 bits.
    Bytes read;
    const auto symbols = ReadBitByBit(coded, plain.size(), read);
    ASSERT_TRUE(read == plain);
    int longest = 0;
    size_t longCodes = 0;
    for (const auto& s : symbols) {
        longest = std::max(longest, s.codeBits);
        if (s.codeBits > 16) ++longCodes;
    }
    EXPECT_GT(longest, 16);
    EXPECT_GE(longCodes, 1u);
    ASSERT_EQ(symbols.back().symbol, 0x7F);
    EXPECT_GT(symbols.back().codeBits, 16) << "the new byte comes from the deepest level";

    // A writer that puts out one bit at a time makes the same bytes from the same symbols.
    test::LzhSymbolWriter writer;
    for (const auto& s : symbols) {
        if (s.symbol < 256)
            writer.Literal(static_cast<uint8_t>(s.symbol));
        else
            writer.Match(s.symbol - 253, s.distance);
    }
    EXPECT_TRUE(writer.Finish() == coded);

    EXPECT_TRUE(test::Expand(kMethodLzh, coded, static_cast<int32_t>(plain.size())) == plain);

    if (!HaveLhasa()) GTEST_SKIP() << "lhasa is not installed";
    test::TempDir dir;
    const auto path = dir.Path() / "long-codes.lzh";
    test::WriteFile(path, test::WrapLhaMember("-lh1-", coded, plain, 0));
    const auto printed = test::RunProgram("lhasa", {"pq", path.string()});
    ASSERT_EQ(printed.status, 0) << printed.err;
    ASSERT_EQ(printed.out.size(), plain.size());
    EXPECT_TRUE(Bytes(printed.out.begin(), printed.out.end()) == plain);
}

}  // namespace
}  // namespace kelp
