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

// Everything one decoding run needs; allocated per entry.
struct LzhDecoder {
    Model model;
    uint8_t ring[kRingSize + kMaxMatch];
    TCodecState& st;
    BitReader<PastEnd::AskAgain> in;
    unsigned r = kStartPos;        // write position in the ring
    unsigned flushed = kStartPos;  // ring bytes before this one have been put to the sink

    explicit LzhDecoder(TCodecState& s) : st(s), in(s) {}

    int DecodeSymbol() {
        // No code is longer than 32 bits: weights below 0x8000 bound the depth.
        in.Need(32);
        uint64_t window = in.Window();
        unsigned used = 0;
        int n = model.Down[kRoot];
        while (n < kNodes) {
            n = model.Down[n + static_cast<int>(window >> 63)];
            window <<= 1;
            ++used;
        }
        in.Skip(used);
        const int symbol = n - kNodes;
        model.UpdateModel(symbol);
        return symbol;
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

    void Flush() {
        st.PutTargetBytes(ring + flushed, r - flushed);
        flushed = r;
    }
    void Put(uint8_t b) {
        ring[r] = b;
        if (++r == kRingSize) {
            Flush();
            r = flushed = 0;
        }
    }

    void Run(int32_t destSize) {
        model.StartModel();
        std::memset(ring, 0x20, kStartPos);
        std::memset(ring + kStartPos, 0, sizeof ring - kStartPos);
        int64_t produced = 0;  // a final match may run past destSize
        while (produced < destSize) {
            const int c = DecodeSymbol();
            if (c < 256) {
                Put(static_cast<uint8_t>(c));
                ++produced;
                continue;
            }
            const unsigned d = static_cast<unsigned>(DecodeDistance()) + 1;
            const unsigned s = (r - d) & (kRingSize - 1);
            const unsigned len = static_cast<unsigned>(c - 253);
            produced += len;
            if (d >= len && r + len < kRingSize && s + len <= kRingSize) {
                std::memmove(ring + r, ring + s, len);
                r += len;
            } else {
                for (unsigned k = 0; k < len; ++k) Put(ring[(s + k) & (kRingSize - 1)]);
            }
        }
        Flush();
    }
};

}  // namespace

void ExpandLzh(TCodecState& st, int32_t destSize) {
    if (destSize <= 0) return;
    auto decoder = std::make_unique<LzhDecoder>(st);
    decoder->Run(destSize);
}

}  // namespace kelp
