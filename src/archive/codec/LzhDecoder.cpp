// Decoder of the LZH method: adaptive-Huffman literals and lengths, fixed-code
// distances, over a 4096-byte ring that starts as spaces.
#include <cstring>
#include <memory>

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
    uint32_t getBuffer = 0;  // pending bits, left-aligned in the low 16 bits
    unsigned getCount = 0;

    explicit LzhDecoder(TCodecState& s) : st(s) {}

    // One byte ahead whenever 8 or fewer bits are pending; a read never takes more than 8.
    void Fill() {
        if (getCount <= 8) {
            unsigned b = st.GetSourceByte();
            if (st.InputEnded) b = 0;
            getBuffer |= b << (8 - getCount);
            getCount += 8;
        }
    }
    unsigned ReadBits(unsigned n) {
        Fill();
        const unsigned v = (getBuffer & 0xFFFF) >> (16 - n);
        getBuffer = (getBuffer << n) & 0xFFFF;
        getCount -= n;
        return v;
    }

    int DecodeSymbol() {
        int n = model.Down[kRoot];
        while (n < kNodes) {
            Fill();
            const unsigned bit = (getBuffer >> 15) & 1;
            getBuffer = (getBuffer << 1) & 0xFFFF;
            --getCount;
            n = model.Down[n + bit];
        }
        const int symbol = n - kNodes;
        model.UpdateModel(symbol);
        return symbol;
    }

    int DecodeDistance() {
        const unsigned b = ReadBits(8);
        const unsigned upper = kDistance.PrefixToUpper[b];
        const unsigned m = kDistance.PrefixToLen[b];
        const unsigned e = ReadBits(m - 2);
        return static_cast<int>(upper * 64 + (((b << (m - 2)) | e) & 0x3F));
    }

    void Run(int32_t destSize) {
        model.StartModel();
        std::memset(ring, 0x20, kStartPos);
        std::memset(ring + kStartPos, 0, sizeof ring - kStartPos);
        unsigned r = kStartPos;
        int64_t produced = 0;  // a final match may run past destSize
        while (produced < destSize) {
            const int c = DecodeSymbol();
            if (c < 256) {
                st.PutTargetByte(static_cast<uint8_t>(c));
                ring[r] = static_cast<uint8_t>(c);
                r = (r + 1) & (kRingSize - 1);
                ++produced;
            } else {
                const unsigned d = static_cast<unsigned>(DecodeDistance());
                const unsigned s = (r - d - 1) & (kRingSize - 1);
                const int len = c - 253;
                for (int k = 0; k < len; ++k) {
                    const uint8_t b = ring[(s + k) & (kRingSize - 1)];
                    st.PutTargetByte(b);
                    ring[r] = b;
                    r = (r + 1) & (kRingSize - 1);
                }
                produced += len;
            }
        }
    }
};

}  // namespace

void ExpandLzh(TCodecState& st, int32_t destSize) {
    if (destSize <= 0) return;
    auto decoder = std::make_unique<LzhDecoder>(st);
    decoder->Run(destSize);
}

}  // namespace kelp
