// Decoder of the LZH method: adaptive-Huffman literals and lengths, fixed-code
// distances, over a 4096-byte ring that starts as spaces.
#include <cstring>
#include <memory>

#include "archive/codec/BitReader.h"
#include "archive/codec/LzhModel.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

using namespace lzh;

// The first kTopBits levels of the tree, walked once for every prefix of that
// many bits. Swaps there are rare (weights near the root are large), and when one
// happens only the entries below the slots it touched are made again.
constexpr int kTopBits = 7;

struct TopEntry {
    // Slots passed, from the last one taken up to the root's child, then idle slots:
    // counting them all is a walk of fixed length.
    int16_t up[kTopBits];
    uint8_t used;  // bits taken: kTopBits, or fewer when a leaf came first
};

// Everything one decoding run needs; allocated per entry.
struct LzhDecoder {
    Model model;
    TopEntry top[1 << kTopBits] = {};
    // The ring laid out flat: the 4096 bytes before `pos` are the ring's contents, the
    // oldest first, so no match wraps. Decoded bytes go to the sink a block at a time.
    static constexpr unsigned kBlock = 16384;
    static constexpr unsigned kSlack = 16;  // a match's last word may write this far past it
    uint8_t window[kRingSize + kBlock + kMaxMatch + kSlack];
    unsigned pos = kRingSize;
    TCodecState& st;
    BitReader<PastEnd::AskAgain> in;

    explicit LzhDecoder(TCodecState& s) : st(s), in(s) {}

    // Inlined into the loop of Run: the call's saving of registers costs as much as a
    // short code's whole walk.
    [[gnu::always_inline]] int DecodeSymbol() {
        // No code is longer than 32 bits: weights below 0x8000 bound the depth.
        in.Need(32);
        uint64_t window = in.Window();
        const TopEntry& e = top[window >> (64 - kTopBits)];
        int used = e.used;
        window <<= used;
        // Slots passed below the table's levels, for the update to walk back up.
        int16_t below[kSymbols];  // the weights keep codes far shorter
        int count = 0;
        int n = model.Down[e.up[0]];
        while (n < kNodes) {
            const int slot = n + static_cast<int>(window >> 63);
            below[count++] = static_cast<int16_t>(slot);
            n = model.Down[slot];
            window <<= 1;
        }
        in.Skip(static_cast<unsigned>(used + count));
        const int symbol = n - kNodes;
        Update(symbol, below, count, e);
        if (model.Reshaped) {
            MakeTop();
        } else if (model.MovedCount != 0) {
            MendTop();
        }
        return symbol;
    }

    // Model::UpdateAlong over the slots below the table, then the entry's.
    void Update(int symbol, const int16_t* below, int count, const TopEntry& e) {
        if (model.Freq[kRoot] == kRebuildWeight) {
            model.UpdateModel(symbol);
            return;
        }
        while (count > 0)
            if (!model.CountStep(below[--count])) return;
        for (int i = 0; i < kTopBits; ++i)
            if (!model.CountStep(e.up[i])) return;
        ++model.Freq[kRoot];
    }

    // Walks the tree's top once, filling the entries below each node reached and
    // marking the slots whose children the table depends on: all above the last level.
    [[gnu::noinline]] void MakeTop() {
        std::memset(model.Watched, 0, sizeof model.Watched);
        int16_t path[kTopBits];
        MakeTopBelow(model.Down[kRoot], 0, 0, path);
        model.Reshaped = false;
        model.MovedCount = 0;
    }
    // Makes again the entries below each slot a swap has given new children. A slot
    // may have left the table's levels since it was marked: it is no longer watched.
    [[gnu::noinline]] void MendTop() {
        for (int i = 0; i < model.MovedCount; ++i) {
            const int slot = model.Moved[i];
            int16_t up[kTopBits];
            int depth = 0;
            int s = slot;
            while (s != kRoot && depth < kTopBits) {
                up[depth++] = static_cast<int16_t>(s);
                s = model.Up[s];
            }
            if (s != kRoot || depth == kTopBits) {
                model.Watched[slot] = 0;
                continue;
            }
            int16_t path[kTopBits];
            unsigned prefix = 0;
            for (int k = 0; k < depth; ++k) {
                path[k] = up[depth - 1 - k];
                prefix = prefix * 2 + static_cast<unsigned>(path[k] & 1);
            }
            MakeTopBelow(model.Down[slot], depth, prefix, path);
        }
        model.MovedCount = 0;
    }
    // path[0..depth) holds the slots from the root's child down to n's parent slot.
    void MakeTopBelow(int n, int depth, unsigned prefix, int16_t* path) {
        if (depth == kTopBits || n >= kNodes) {
            TopEntry entry;
            for (int i = 0; i < kTopBits; ++i)
                entry.up[i] = static_cast<int16_t>(i < depth ? path[depth - 1 - i] : kIdleSlot);
            entry.used = static_cast<uint8_t>(depth);
            const unsigned span = 1u << (kTopBits - depth);
            for (unsigned i = 0; i < span; ++i) top[prefix * span + i] = entry;
            return;
        }
        for (int bit = 0; bit < 2; ++bit) {
            const int slot = n + bit;
            path[depth] = static_cast<int16_t>(slot);
            if (depth + 1 < kTopBits) model.Watched[slot] = 1;
            MakeTopBelow(model.Down[slot], depth + 1, prefix * 2 + static_cast<unsigned>(bit), path);
        }
    }

    int DecodeDistance() {
        in.Need(16);
        const unsigned b = in.Peek(8);
        const unsigned upper = kDistance.PrefixToUpper[b];
        const unsigned m = kDistance.PrefixToLen[b];
        // The code of the upper six bits, then the lower six bits.
        const unsigned low = (in.Peek(m + 6)) & 0x3F;
        in.Skip(m + 6);
        return static_cast<int>(upper * 64 + low);
    }

    // Copies a match as the byte loop would. With the source at least a word behind,
    // each word read is complete before it is read; the last may write past the match,
    // into bytes not decoded yet.
    static void CopyMatch(uint8_t* to, unsigned d, unsigned len) {
        const uint8_t* from = to - d;
        if (d >= 16) {
            for (unsigned k = 0; k < len; k += 16) std::memcpy(to + k, from + k, 16);
        } else if (d >= 8) {
            for (unsigned k = 0; k < len; k += 8) std::memcpy(to + k, from + k, 8);
        } else {
            for (unsigned k = 0; k < len; ++k) to[k] = from[k];
        }
    }

    // Hands the block to the sink and keeps its last 4096 bytes as the ring.
    void HandOver() {
        st.PutTargetBytes(window + kRingSize, pos - kRingSize);
        std::memmove(window, window + pos - kRingSize, kRingSize);
        pos = kRingSize;
    }

    void Run(int32_t destSize) {
        model.StartModel();
        MakeTop();
        // The ring as it starts, from the write position on: not yet written (zeros), then spaces.
        std::memset(window, 0, kRingSize - kStartPos);
        std::memset(window + (kRingSize - kStartPos), 0x20, kStartPos);
        int64_t produced = 0;  // a final match may run past destSize
        while (produced < destSize) {
            if (pos >= kRingSize + kBlock) HandOver();
            const int c = DecodeSymbol();
            if (c < 256) {
                window[pos++] = static_cast<uint8_t>(c);
                ++produced;
                continue;
            }
            const unsigned d = static_cast<unsigned>(DecodeDistance()) + 1;
            const unsigned len = static_cast<unsigned>(c - 253);
            CopyMatch(window + pos, d, len);
            pos += len;
            produced += len;
        }
        st.PutTargetBytes(window + kRingSize, pos - kRingSize);
    }
};

}  // namespace

void ExpandLzh(TCodecState& st, int32_t destSize) {
    if (destSize <= 0) return;
    auto decoder = std::make_unique<LzhDecoder>(st);
    decoder->Run(destSize);
}

}  // namespace kelp
