#include "archive/codec/Lh5Dictionary.h"

#include <bit>
#include <cstring>

namespace kelp::lh5 {

namespace {

// Index of the first unequal byte of two 8-byte loads that differ.
inline int FirstDifferentByte(uint64_t a, uint64_t b) {
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(a ^ b) >> 3;
    else
        return std::countl_zero(a ^ b) >> 3;
}

}  // namespace

void Dictionary::InitSlide() {
    std::memset(Window + kWindowSize, 0, sizeof Window - kWindowSize);
    for (int i = kDictSize; i < kDictSize + 256; ++i) {
        level_[i] = 1;
        position_[i] = kNil;
        childCount_[i] = 0;
    }
    for (int i = kDictSize; i < 2 * kDictSize; ++i) parent_[i] = kNil;
    avail_ = 1;
    for (int i = 1; i < kDictSize - 1; ++i) next_[i] = static_cast<uint16_t>(i + 1);
    next_[kDictSize - 1] = kNil;
    for (int i = kHashBase; i < kHashBase + kChainHeads; ++i) next_[i] = kNil;
}

int Dictionary::TrieChild(int q, int c) {
    int r = next_[Hash(q, c)];
    parent_[kNil] = static_cast<int16_t>(q);  // sentinel ends the walk
    while (parent_[r] != q) r = next_[r];
    return r;
}

void Dictionary::MakeTrieChild(int q, int c, int r) {
    const int h = Hash(q, c);
    const int t = next_[h];
    next_[h] = static_cast<uint16_t>(r);
    next_[r] = static_cast<uint16_t>(t);
    prev_[t] = static_cast<uint16_t>(r);
    prev_[r] = static_cast<uint16_t>(h);
    parent_[r] = static_cast<int16_t>(q);
    ++childCount_[q];
}

void Dictionary::SplitNode(int old) {
    const int n = avail_;
    avail_ = next_[n];
    childCount_[n] = 0;
    int t = prev_[old];
    prev_[n] = static_cast<uint16_t>(t);
    next_[t] = static_cast<uint16_t>(n);
    t = next_[old];
    next_[n] = static_cast<uint16_t>(t);
    prev_[t] = static_cast<uint16_t>(n);
    parent_[n] = parent_[old];
    level_[n] = static_cast<uint8_t>(MatchLen);
    position_[n] = static_cast<uint16_t>(Pos);
    MakeTrieChild(n, Window[MatchPos + MatchLen], old);
    MakeTrieChild(n, Window[Pos + MatchLen], Pos);
}

void Dictionary::InsertPosition() {
    int q, r;
    if (MatchLen >= 4) {
        // The previous position matched: its match minus one byte is a prefix of ours.
        --MatchLen;
        r = (MatchPos + 1) | kDictSize;
        while ((q = parent_[r]) == kNil) r = next_[r];
        while (level_[q] >= MatchLen) {
            r = q;
            q = parent_[q];
        }
        int t = q;
        while (position_[t] & kPositionFlag) {
            position_[t] = static_cast<uint16_t>(Pos);
            t = parent_[t];
        }
        if (t < kDictSize) position_[t] = static_cast<uint16_t>(Pos | kPositionFlag);
    } else {
        q = Window[Pos] + kDictSize;
        const int c = Window[Pos + 1];
        r = TrieChild(q, c);
        if (r == kNil) {
            MakeTrieChild(q, c, Pos);
            MatchLen = 1;
            return;
        }
        MatchLen = 2;
    }
    for (;;) {
        int j;
        if (r >= kDictSize) {
            j = kMaxMatch;
            MatchPos = r;
        } else {
            j = level_[r];
            MatchPos = position_[r] & ~kPositionFlag;
        }
        if (MatchPos >= Pos) MatchPos -= kDictSize;
        const uint8_t* t1 = Window + Pos;
        const uint8_t* t2 = Window + MatchPos;
        while (MatchLen < j) {
            uint64_t a, b;
            std::memcpy(&a, t1 + MatchLen, 8);
            std::memcpy(&b, t2 + MatchLen, 8);
            if (a != b) {
                const int m = MatchLen + FirstDifferentByte(a, b);
                if (m < j) {
                    MatchLen = m;
                    SplitNode(r);
                    return;
                }
                MatchLen = j;
                break;
            }
            MatchLen = MatchLen + 8 < j ? MatchLen + 8 : j;
        }
        if (MatchLen >= kMaxMatch) break;
        position_[r] = static_cast<uint16_t>(Pos);
        q = r;
        const int c = Window[Pos + MatchLen];
        r = TrieChild(q, c);
        if (r == kNil) {
            MakeTrieChild(q, c, Pos);
            return;
        }
        ++MatchLen;
    }
    // A full-length match: Pos replaces the old leaf r, which points on to Pos.
    int t = prev_[r];
    prev_[Pos] = static_cast<uint16_t>(t);
    next_[t] = static_cast<uint16_t>(Pos);
    t = next_[r];
    next_[Pos] = static_cast<uint16_t>(t);
    prev_[t] = static_cast<uint16_t>(Pos);
    parent_[Pos] = static_cast<int16_t>(q);
    parent_[r] = kNil;
    next_[r] = static_cast<uint16_t>(Pos);
}

void Dictionary::DeletePosition() {
    if (parent_[Pos] == kNil) return;
    int r = prev_[Pos];
    int s = next_[Pos];
    next_[r] = static_cast<uint16_t>(s);
    prev_[s] = static_cast<uint16_t>(r);
    r = parent_[Pos];
    parent_[Pos] = kNil;
    --childCount_[r];
    if (r >= kDictSize || childCount_[r] > 1) return;
    // r is left with one child and goes; its newest position settles upwards first.
    int t = position_[r] & ~kPositionFlag;
    if (t >= Pos) t -= kDictSize;
    s = t;
    int q = parent_[r];
    int u;
    while ((u = position_[q]) & kPositionFlag) {
        u &= ~kPositionFlag;
        if (u >= Pos) u -= kDictSize;
        if (u > s) s = u;
        position_[q] = static_cast<uint16_t>(s | kDictSize);
        q = parent_[q];
    }
    if (q < kDictSize) {
        if (u >= Pos) u -= kDictSize;
        if (u > s) s = u;
        position_[q] = static_cast<uint16_t>(s | kDictSize | kPositionFlag);
    }
    s = TrieChild(r, Window[t + level_[r]]);
    t = prev_[s];
    u = next_[s];
    next_[t] = static_cast<uint16_t>(u);
    prev_[u] = static_cast<uint16_t>(t);
    t = prev_[r];
    next_[t] = static_cast<uint16_t>(s);
    prev_[s] = static_cast<uint16_t>(t);
    t = next_[r];
    prev_[t] = static_cast<uint16_t>(s);
    next_[s] = static_cast<uint16_t>(t);
    parent_[s] = parent_[r];
    parent_[r] = kNil;
    next_[r] = static_cast<uint16_t>(avail_);
    avail_ = r;
}

}  // namespace kelp::lh5
