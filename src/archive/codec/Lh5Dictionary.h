// Match finder of the LH5 encoder: a suffix trie over an 8192-byte sliding
// dictionary. Internal nodes keep their depth and, lazily, their newest position.
#pragma once
#include <cstdint>

#include "archive/codec/Lh5Table.h"

namespace kelp::lh5 {

class Dictionary {
public:
    // The dictionary, the current half and the look-ahead of one longest match.
    static constexpr int kWindowSize = 2 * kDictSize + kMaxMatch + 1;  // 16641

    uint8_t Window[kWindowSize + 8];  // the tail lets matches be compared 8 bytes at a time
    int Pos = 0;       // current position, 8192..16383 once running
    int MatchPos = 0;  // where the match for Pos starts
    int MatchLen = 0;

    void InitSlide();
    // Finds the longest match for the string at Pos and enters Pos into the trie.
    void InsertPosition();
    // Removes the leaf Pos, whose string is leaving the dictionary.
    void DeletePosition();

private:
    static constexpr int kNil = 0;
    static constexpr int kPositionFlag = 0x8000;  // value still to be passed upwards
    static constexpr int kHashBase = 2 * kDictSize;
    static constexpr int kHashBits = 15;
    static constexpr int kChainHeads = 1 << kHashBits;  // head indices stay within uint16_t

    // Spreads (node, byte) over the heads so that nearly every chain holds one child at most.
    static int Hash(int q, int c) {
        const uint32_t key = static_cast<uint32_t>(q) << 8 | static_cast<uint32_t>(c);
        return kHashBase + static_cast<int>((key * 0x9E3779B1u) >> (32 - kHashBits));
    }
    int TrieChild(int q, int c);
    void MakeTrieChild(int q, int c, int r);
    void SplitNode(int old);

    uint8_t level_[kDictSize + 256 + 1];
    uint8_t childCount_[kDictSize + 256 + 1];
    uint16_t position_[kDictSize + 256 + 1];
    int16_t parent_[2 * kDictSize + 1];
    uint16_t prev_[2 * kDictSize + 1];
    uint16_t next_[kHashBase + kChainHeads + 1];
    int avail_ = 1;
};

}  // namespace kelp::lh5
