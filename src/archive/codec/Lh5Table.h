// Shared pieces of the LH5 method: its constants and the table builder that turns
// canonical code lengths into a direct look-up table with overflow trees.
#pragma once
#include <cstdint>

namespace kelp::lh5 {

inline constexpr int kDictBits = 13;
inline constexpr int kDictSize = 1 << kDictBits;  // 8192
inline constexpr int kMaxMatch = 256;
inline constexpr int kThreshold = 3;
inline constexpr int kNC = 255 + kMaxMatch + 2 - kThreshold;  // 510 literal/length symbols
inline constexpr int kNP = kDictBits + 1;                      // 14 position symbols
inline constexpr int kNT = 16 + 3;                             // 19 code-length symbols
inline constexpr int kCBits = 9;
inline constexpr int kPBits = 4;
inline constexpr int kTBits = 5;
inline constexpr int kMaxCodeLen = 16;
inline constexpr int kCTableBits = 12;
inline constexpr int kPtTableBits = 8;
inline constexpr int kPtLenSize = 0x80 + 1;   // room for every count field value and zero run
inline constexpr int kTreeNodes = 2 * kNC - 1;  // 1019

// Children of the overflow trees (decoder) or of the Huffman tree (encoder).
struct TreeNodes {
    uint16_t Left[kTreeNodes + 1];
    uint16_t Right[kTreeNodes + 1];
};

// Builds `table` (2^tableBits entries) for `symbols` code lengths; codes longer than
// tableBits continue in `nodes`, numbered from `symbols` upwards. Raises
// ELZHBadDecodeTable unless the lengths (each 0..16) form a complete prefix code.
void BuildTable(int symbols, const uint8_t* lengths, int tableBits, uint16_t* table, TreeNodes& nodes);

}  // namespace kelp::lh5
