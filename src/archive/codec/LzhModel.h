// The LZH method's adaptive Huffman model and fixed distance code, shared by the
// decoder and the encoder.
#pragma once
#include <array>
#include <cstdint>

namespace kelp::lzh {

inline constexpr int kRingSize = 4096;
inline constexpr int kMaxMatch = 60;
inline constexpr int kMinMatch = 3;
inline constexpr int kSymbols = 314;           // 256 literals + lengths 3..60
inline constexpr int kNodes = 2 * kSymbols - 1;  // 627
inline constexpr int kRoot = kNodes - 1;         // 626
inline constexpr int kStartPos = kRingSize - kMaxMatch;  // 4036
inline constexpr uint16_t kRebuildWeight = 0x8000;

// Adaptive Huffman tree over 314 symbols. Weights stay sorted by node index and
// siblings are adjacent, so updating is a swap walk towards the root.
struct Model {
    uint16_t Freq[kNodes + 1];
    int16_t Up[kNodes + kSymbols];
    int16_t Down[kNodes];

    void StartModel();
    void UpdateModel(int symbol);
    void RebuildModel();
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
