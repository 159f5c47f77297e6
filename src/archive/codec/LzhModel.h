// The LZH method's adaptive Huffman model and fixed distance code, shared by the
// decoder and the encoder.
#pragma once
#include <array>
#include <bit>
#include <cstdint>
// The shipped i686 programs have no SSE2; KELP_PORTABLE builds that path anywhere.
#if defined(__SSE2__) && !defined(KELP_PORTABLE)
#define KELP_LZH_SSE2 1
#include <emmintrin.h>
#endif

namespace kelp::lzh {

inline constexpr int kRingSize = 4096;
inline constexpr int kMaxMatch = 60;
inline constexpr int kMinMatch = 3;
inline constexpr int kSymbols = 314;           // 256 literals + lengths 3..60
inline constexpr int kNodes = 2 * kSymbols - 1;  // 627
inline constexpr int kRoot = kNodes - 1;         // 626
inline constexpr int kStartPos = kRingSize - kMaxMatch;  // 4036
inline constexpr uint16_t kRebuildWeight = 0x8000;
// A slot outside the tree that counting may pass through to no effect: the weight
// after it is the largest there is, so it never asks for a swap.
inline constexpr int kIdleSlot = kNodes + 1;

// Adaptive Huffman tree over 314 symbols. Weights stay sorted by node index and
// siblings are adjacent, so updating is a swap walk towards the root.
struct Model {
    // Past the sentinel: the idle slot and its guard, then room for the scan in Swap
    // to read eight weights at a time.
    uint16_t Freq[kNodes + 8];
    // One spare entry takes the writes meant for a leaf's second child, which has none.
    int16_t Up[kNodes + kSymbols + 1];
    int16_t Down[kNodes];
    // Slots a reader's table of the tree's top relies on. A swap there is noted in
    // Moved, so that only the table's entries below those slots are made again; a
    // rebuild, or more swaps than Moved holds, sets Reshaped for a whole new table.
    uint8_t Watched[kNodes];
    int16_t Moved[16];
    int MovedCount = 0;
    bool Reshaped = true;

    void StartModel();
    void UpdateModel(int symbol);
    void RebuildModel();

    // UpdateModel for a symbol whose path is already known: count slots from the leaf
    // up to (not including) the root, at path[0], path[step], ... The slots are
    // independent loads, so the walk is no chain of Up look-ups until a swap
    // reshapes the tree; from there on it follows Up as usual.
    void UpdateAlong(int symbol, const int16_t* path, int count, int step) {
        if (Freq[kRoot] == kRebuildWeight) {
            UpdateModel(symbol);
            return;
        }
        for (int i = 0; i < count; ++i)
            if (!CountStep(path[i * step])) return;
        ++Freq[kRoot];  // the sentinel above the root stops every swap there
    }

    // One step of UpdateAlong: counts slot n. False when a swap was needed: the walk
    // has then been finished along Up.
    bool CountStep(int n) {
        const uint16_t k = ++Freq[n];
        if (k > Freq[n + 1]) {
            WalkUp(Up[Swap(n, k)]);
            return false;
        }
        return true;
    }

private:
    // Moves node n, just raised to weight k, past the run of lighter nodes above it; returns its new slot.
    int Swap(int n, uint16_t k) {
        const int l = FirstNotLighter(n + 2, k) - 1;
        Freq[n] = Freq[l];
        Freq[l] = k;
        const int i = Down[n];
        Up[i] = static_cast<int16_t>(l);
        Up[SecondChild(i)] = static_cast<int16_t>(l);
        if (Watched[n] | Watched[l]) NoteMoved(n, l);
        const int j = Down[l];
        Down[l] = static_cast<int16_t>(i);
        Up[j] = static_cast<int16_t>(n);
        Up[SecondChild(j)] = static_cast<int16_t>(n);
        Down[n] = static_cast<int16_t>(j);
        return l;
    }
    // Where Up holds the parent of the node after d: the spare entry for a leaf.
    static int SecondChild(int d) { return d < kNodes ? d + 1 : kNodes + kSymbols; }
    // The first slot from l on whose weight is at least k; the sentinel ends the search.
    int FirstNotLighter(int l, uint16_t k) const {
#if defined(KELP_LZH_SSE2)
        const __m128i below = _mm_set1_epi16(static_cast<int16_t>(k - 1));
        for (;;) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Freq + l));
            // A lane is lighter when its weight minus k - 1, saturated, is zero.
            const auto lighter = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(w, below), _mm_setzero_si128())));
            if (lighter != 0xFFFF) return l + std::countr_one(lighter) / 2;
            l += 8;
        }
#else
        while (k > Freq[l]) ++l;
        return l;
#endif
    }
    void NoteMoved(int n, int l) {
        if (MovedCount > static_cast<int>(sizeof Moved / sizeof Moved[0]) - 2) {
            Reshaped = true;
            return;
        }
        Moved[MovedCount++] = static_cast<int16_t>(n);
        Moved[MovedCount++] = static_cast<int16_t>(l);
    }
    // Counts node n (which may be slot 0) and its ancestors, swapping where the order demands it.
    void WalkUp(int n) {
        do {
            const uint16_t k = ++Freq[n];
            if (k > Freq[n + 1]) n = Swap(n, k);
            n = Up[n];
        } while (n != 0);
    }
};

// Upper six bits of a distance: canonical code of 3..8 bits, left-aligned in a byte.
struct DistanceTables {
    std::array<uint8_t, 64> Code{};
    std::array<uint8_t, 64> CodeLen{};
    std::array<uint8_t, 256> PrefixToUpper{};
    std::array<uint8_t, 256> PrefixToLen{};
};

constexpr DistanceTables MakeDistanceTables() {
    DistanceTables t;
    // Count of codes per length 3..8.
    constexpr int counts[6] = {1, 3, 8, 12, 24, 16};
    int upper = 0;
    unsigned code = 0;
    int prevLen = 3;
    for (int len = 3; len <= 8; ++len) {
        for (int i = 0; i < counts[len - 3]; ++i) {
            if (upper > 0) code = (code + 1) << (len - prevLen);
            prevLen = len;
            t.Code[upper] = static_cast<uint8_t>(code << (8 - len));
            t.CodeLen[upper] = static_cast<uint8_t>(len);
            for (unsigned b = 0; b < (1u << (8 - len)); ++b) {
                t.PrefixToUpper[t.Code[upper] | b] = static_cast<uint8_t>(upper);
                t.PrefixToLen[t.Code[upper] | b] = static_cast<uint8_t>(len);
            }
            ++upper;
        }
    }
    return t;
}

inline constexpr DistanceTables kDistance = MakeDistanceTables();

}  // namespace kelp::lzh
