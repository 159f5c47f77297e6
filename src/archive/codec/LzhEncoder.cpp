// Encoder of the LZH method: binary search trees over a 4096-byte ring (one tree
// per first byte and 4-bit hash of the next two), adaptive Huffman literals and
// lengths, fixed-code distances.
#include "archive/codec/LzhEncoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "archive/codec/LzhModel.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

using namespace lzh;

constexpr int kNil = kRingSize;            // 4096: no node
constexpr int kFirstRoot = kRingSize + 1;  // 4097..8192: the tree roots
constexpr int kRootCount = 4096;
constexpr int kRingBits = 12;
static_assert(kRingSize == 1 << kRingBits);

struct LzhEncoder {
    TCodecState& st;
    const LzhSearch search;
    Model model;
    // 4096 ring bytes, then a mirror of the first 59 so a 60-byte compare never wraps.
    // The last 8 bytes let comparisons read whole words past a string's 60th byte.
    uint8_t ring[kRingSize + kMaxMatch + 8];
    // Left and right children side by side, so the side is an index rather than a branch
    // and both share a cache line; of the roots (kFirstRoot on) only the right ones are used.
    int16_t kids[kRingSize + 1 + kRootCount][2];
    int16_t parent[kRingSize + 1];
    uint8_t sameLength[kRingSize];  // prefix length shared with the parent's string
    int matchPosition = 0;
    int matchLength = 0;
    uint16_t putBuffer = 0;
    unsigned putCount = 0;

    LzhEncoder(TCodecState& s, LzhSearch how) : st(s), search(how) {}

    static bool IsRoot(int node) { return node > kNil; }

    int RootOf(int r) const {
        const unsigned x = ring[r + 1] ^ ring[r + 2];
        const unsigned h = (x ^ (x >> 4)) & 15;
        return kFirstRoot + ring[r] + 256 * static_cast<int>(h);
    }

    void InitTrees() {
        for (int i = kFirstRoot; i < kFirstRoot + kRootCount; ++i) kids[i][1] = kNil;
        for (int i = 0; i < kRingSize; ++i) parent[i] = kNil;
    }

    // First index from `start` at which the strings of node and its parent differ.
    int SharedPrefix(int start, int par, int node) const {
        if (par >= kNil) return 1;
        const uint8_t* a = ring + node;
        const uint8_t* b = ring + par;
        return MatchFrom(a, b, start);
    }

    // First index from k (below kMaxMatch) at which a and b differ, or kMaxMatch.
    static int MatchFrom(const uint8_t* a, const uint8_t* b, int k) {
        for (;;) {
            uint64_t x, y;
            std::memcpy(&x, a + k, 8);
            std::memcpy(&y, b + k, 8);
            if (x != y) {
                if constexpr (std::endian::native == std::endian::little)
                    k += std::countr_zero(x ^ y) >> 3;
                else
                    k += std::countl_zero(x ^ y) >> 3;
                return k < kMaxMatch ? k : kMaxMatch;
            }
            k += 8;
            if (k >= kMaxMatch) return kMaxMatch;
        }
    }

    // `child` moves up from below p to below p's parent.
    void AdoptSameLength(int newParent, int p, int child) {
        const int a = sameLength[p];
        const int b = sameLength[child];
        if (a < b)
            sameLength[child] = static_cast<uint8_t>(a);
        else if (a == b)
            sameLength[child] = static_cast<uint8_t>(SharedPrefix(a, newParent, child));
    }

    void ReplaceChild(int par, int oldChild, int newChild) {
        if (kids[par][1] == oldChild)
            kids[par][1] = static_cast<int16_t>(newChild);
        else
            kids[par][0] = static_cast<int16_t>(newChild);
    }

    // Takes the match InsertString found (matchPosition stays when there is none).
    void SetMatch(int best) {
        if (best < (kMinMatch << kRingBits)) {
            matchLength = 0;
            return;
        }
        matchLength = best >> kRingBits;
        matchPosition = (kRingSize - 1) - (best & (kRingSize - 1));
    }

    void InsertString(int r) {
        kids[r][0] = kids[r][1] = kNil;
        int best = (kMinMatch << kRingBits) - 1;  // below any match
        int p = RootOf(r);
        bool right = true;
        int i = 1;
        const uint8_t* key = ring + r;
        for (;;) {
            const int child = kids[p][right];
            if (child == kNil) {
                kids[p][right] = static_cast<int16_t>(r);
                parent[r] = static_cast<int16_t>(p);
                sameLength[r] = static_cast<uint8_t>(i);
                SetMatch(best);
                return;
            }
            p = child;
            const uint8_t* other = ring + p;
            if (search == LzhSearch::FullCompare) {
                i = MatchFrom(key, other, 1);
                if (i < kMaxMatch) right = key[i] >= other[i];
            } else {
                // i < s: p agrees with its parent beyond i, so nothing changes. i > s: r
                // agrees with the parent at s where p does not, so the compare from s stops
                // at once, just as for i == s it finds the first difference.
                const int s = sameLength[p];
                if (i >= s) {
                    i = s < kMaxMatch ? MatchFrom(key, other, s) : s;
                    if (i < kMaxMatch) right = key[i] >= other[i];
                }
            }
            // Longest match, the nearest among equals: the largest of length * 4096 +
            // (4095 - distance), a maximum that needs no hard-to-predict branch.
            best = std::max(best, i << kRingBits | ((p - r) & (kRingSize - 1)));
            if (i >= kMaxMatch) break;
        }
        SetMatch(best);
        // p's string equals r's in all 60 bytes: r takes p's place.
        sameLength[r] = sameLength[p];
        parent[r] = parent[p];
        kids[r][0] = kids[p][0];
        kids[r][1] = kids[p][1];
        parent[kids[p][0]] = static_cast<int16_t>(r);
        parent[kids[p][1]] = static_cast<int16_t>(r);
        ReplaceChild(parent[p], p, r);
        parent[p] = kNil;
    }

    void DeleteString(int p) {
        if (parent[p] == kNil) return;
        int q;
        if (kids[p][1] == kNil) {
            q = kids[p][0];
            if (q != kNil) AdoptSameLength(parent[p], p, q);
        } else if (kids[p][0] == kNil) {
            q = kids[p][1];
            AdoptSameLength(parent[p], p, q);
        } else {
            q = kids[p][0];
            if (kids[q][1] != kNil) {
                do q = kids[q][1];
                while (kids[q][1] != kNil);
                if (kids[q][0] != kNil) AdoptSameLength(parent[q], q, kids[q][0]);
                sameLength[kids[p][0]] = static_cast<uint8_t>(SharedPrefix(1, q, kids[p][0]));
                kids[parent[q]][1] = kids[q][0];
                parent[kids[q][0]] = parent[q];
                kids[q][0] = kids[p][0];
                parent[kids[p][0]] = static_cast<int16_t>(q);
            }
            sameLength[q] = static_cast<uint8_t>(SharedPrefix(1, parent[p], q));
            sameLength[kids[p][1]] = static_cast<uint8_t>(SharedPrefix(1, q, kids[p][1]));
            kids[q][1] = kids[p][1];
            parent[kids[p][1]] = static_cast<int16_t>(q);
        }
        parent[q] = parent[p];
        ReplaceChild(parent[p], p, q);
        parent[p] = kNil;
    }

    // Appends the top n bits (1..16) of `bits`.
    void PutCode(unsigned n, uint16_t bits) {
        putBuffer = static_cast<uint16_t>(putBuffer | (bits >> putCount));
        putCount += n;
        if (putCount >= 8) {
            st.PutTargetByte(static_cast<uint8_t>(putBuffer >> 8));
            putCount -= 8;
            if (putCount >= 8) {
                st.PutTargetByte(static_cast<uint8_t>(putBuffer));
                putCount -= 8;
                putBuffer = static_cast<uint16_t>(bits << (n - putCount));
            } else {
                putBuffer = static_cast<uint16_t>(putBuffer << 8);
            }
        }
    }

    void FlushBits() {
        if (putCount > 0) st.PutTargetByte(static_cast<uint8_t>(putBuffer >> 8));
    }

    void EncodeSymbol(int c) {
        int k = model.Up[kNodes + c];
        uint32_t code = 0;
        unsigned n = 0;
        // Walk to the root; odd node indices are 1-children. The slots passed are kept
        // for the update.
        int16_t path[kSymbols];  // the weights keep codes far shorter
        do {
            path[n] = static_cast<int16_t>(k);
            code = (code >> 1) | (static_cast<uint32_t>(k) << 31);
            ++n;
            k = model.Up[k];
        } while (k != kRoot);
        if (n > 16) {
            PutCode(16, static_cast<uint16_t>(code >> 16));
            PutCode(n - 16, static_cast<uint16_t>(code));
        } else {
            PutCode(n, static_cast<uint16_t>(code >> 16));
        }
        model.UpdateAlong(c, path, static_cast<int>(n), 1);
    }

    void EncodeDistance(unsigned d) {
        const unsigned u = d >> 6;
        PutCode(kDistance.CodeLen[u], static_cast<uint16_t>(kDistance.Code[u] << 8));
        PutCode(6, static_cast<uint16_t>((d & 63) << 10));
    }

    void Run() {
        model.StartModel();
        InitTrees();
        std::memset(ring, 0x20, kStartPos);
        // Never filled before the first read, yet short inputs compare against them.
        std::memset(ring + kStartPos, 0, sizeof ring - kStartPos);
        int s = 0;
        int r = kStartPos;
        int len = 0;
        while (len < kMaxMatch) {
            const uint8_t c = st.GetSourceByte();
            if (st.InputEnded) break;
            ring[r + len] = c;
            ++len;
        }
        if (len == 0) return;
        for (int i = 1; i <= kMaxMatch; ++i) InsertString(r - i);
        InsertString(r);
        while (len > 0) {
            if (matchLength > len) matchLength = len;
            if (matchLength <= 2) {
                matchLength = 1;
                EncodeSymbol(ring[r]);
            } else {
                EncodeSymbol(matchLength + 253);
                EncodeDistance(static_cast<unsigned>(matchPosition));
            }
            const int m = matchLength;
            int i = 0;
            for (; i < m; ++i) {
                const uint8_t c = st.GetSourceByte();
                if (st.InputEnded) break;
                DeleteString(s);
                ring[s] = c;
                if (s < kMaxMatch - 1) ring[s + kRingSize] = c;
                s = (s + 1) & (kRingSize - 1);
                r = (r + 1) & (kRingSize - 1);
                InsertString(r);
            }
            for (; i < m; ++i) {
                DeleteString(s);
                s = (s + 1) & (kRingSize - 1);
                r = (r + 1) & (kRingSize - 1);
                if (--len > 0) InsertString(r);
            }
        }
        FlushBits();
    }
};

}  // namespace

void CompressLzhWith(TCodecState& st, LzhSearch search) {
    auto encoder = std::make_unique<LzhEncoder>(st, search);
    encoder->Run();
}

void CompressLzh(TCodecState& st) { CompressLzhWith(st, LzhSearch::CachedPrefix); }

}  // namespace kelp
