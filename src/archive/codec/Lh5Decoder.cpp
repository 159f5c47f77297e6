// Decoder of the LH5 method: blocks of static Huffman codes over an 8192-byte window
// that starts as spaces. Malformed tables are rejected before they are used.
#include <cstring>
#include <memory>

#include "archive/codec/Lh5Table.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

using namespace lh5;

[[noreturn]] void BadTable() { throw ELZHBadDecodeTable(kBadDecodeTableMessage); }

struct Lh5Decoder {
    TCodecState& st;
    uint8_t window[kDictSize];
    // Bit reader: the next bits of the stream left-aligned in `bits`, `count` of them valid.
    uint64_t bits = 0;
    unsigned count = 0;
    bool ended = false;  // the byte source reported its end: zeros from here on
    uint32_t blockSize = 0;
    TreeNodes nodes;
    uint8_t codeLen[kNC + 1];
    uint8_t ptLen[kPtLenSize];
    uint16_t codeTable[1 << kCTableBits];
    uint16_t ptTable[1 << kPtTableBits];

    explicit Lh5Decoder(TCodecState& s) : st(s) {}

    uint8_t NextByte() {
        if (ended) return 0;
        const uint8_t b = st.GetSourceByte();
        if (st.InputEnded) {
            ended = true;
            return 0;
        }
        return b;
    }

    // Keeps at least 32 bits ready.
    void Refill() {
        while (count <= 56) {
            bits |= static_cast<uint64_t>(NextByte()) << (56 - count);
            count += 8;
        }
    }
    unsigned Peek(unsigned n) {
        if (count < 32) Refill();
        return static_cast<unsigned>(bits >> (64 - n));
    }
    unsigned Peek16() { return Peek(16); }
    void Skip(unsigned n) {
        if (count < n) Refill();
        bits <<= n;
        count -= n;
    }
    unsigned GetBits(unsigned n) {
        if (n == 0) return 0;
        const unsigned v = Peek(n);
        Skip(n);
        return v;
    }

    void ReadPtLen(int n, int fieldBits, int special) {
        const int sent = static_cast<int>(GetBits(fieldBits));
        if (sent == 0) {
            const unsigned v = GetBits(fieldBits);
            if (static_cast<int>(v) >= n) BadTable();
            std::memset(ptLen, 0, n);
            for (auto& e : ptTable) e = static_cast<uint16_t>(v);
            return;
        }
        int i = 0;
        while (i < sent) {
            const unsigned peek = Peek16();
            unsigned c = peek >> 13;
            if (c == 7) {
                unsigned mask = 1u << 12;
                while (mask & peek) {
                    mask >>= 1;
                    ++c;
                }
                if (c > kMaxCodeLen) BadTable();
            }
            Skip(c < 7 ? 3 : c - 3);
            ptLen[i++] = static_cast<uint8_t>(c);
            if (i == special) {
                int z = static_cast<int>(GetBits(2));
                while (z-- > 0) ptLen[i++] = 0;
            }
        }
        while (i < n) ptLen[i++] = 0;
        BuildTable(n, ptLen, kPtTableBits, ptTable, nodes);
    }

    void ReadCodeLen() {
        const int n = static_cast<int>(GetBits(kCBits));
        if (n == 0) {
            const unsigned v = GetBits(kCBits);
            if (static_cast<int>(v) >= kNC) BadTable();
            std::memset(codeLen, 0, kNC);
            for (auto& e : codeTable) e = static_cast<uint16_t>(v);
            return;
        }
        if (n > kNC) BadTable();
        int i = 0;
        while (i < n) {
            const unsigned peek = Peek16();
            unsigned c = ptTable[peek >> 8];
            if (c >= kNT) {
                unsigned mask = 1u << 7;
                do {
                    c = (peek & mask) ? nodes.Right[c] : nodes.Left[c];
                    mask >>= 1;
                } while (c >= kNT);
            }
            Skip(ptLen[c]);
            if (c <= 2) {
                int run = c == 0 ? 1 : c == 1 ? static_cast<int>(GetBits(4)) + 3 : static_cast<int>(GetBits(kCBits)) + 20;
                if (i + run > kNC) BadTable();
                while (run-- > 0) codeLen[i++] = 0;
            } else {
                codeLen[i++] = static_cast<uint8_t>(c - 2);
            }
        }
        while (i < kNC) codeLen[i++] = 0;
        BuildTable(kNC, codeLen, kCTableBits, codeTable, nodes);
    }

    unsigned DecodeCode() {
        if (blockSize == 0) {
            blockSize = GetBits(16);
            if (blockSize == 0) blockSize = 0x10000;
            ReadPtLen(kNT, kTBits, 3);
            ReadCodeLen();
            ReadPtLen(kNP, kPBits, -1);
        }
        --blockSize;
        const unsigned peek = Peek16();
        unsigned j = codeTable[peek >> (16 - kCTableBits)];
        if (j >= kNC) {
            unsigned mask = 1u << (15 - kCTableBits);
            do {
                j = (peek & mask) ? nodes.Right[j] : nodes.Left[j];
                mask >>= 1;
            } while (j >= kNC);
        }
        Skip(codeLen[j]);
        return j;
    }

    unsigned DecodePosition() {
        const unsigned peek = Peek16();
        unsigned j = ptTable[peek >> (16 - kPtTableBits)];
        if (j >= kNP) {
            unsigned mask = 1u << (15 - kPtTableBits);
            do {
                j = (peek & mask) ? nodes.Right[j] : nodes.Left[j];
                mask >>= 1;
            } while (j >= kNP);
        }
        Skip(ptLen[j]);
        if (j == 0) return 0;
        return (1u << (j - 1)) + GetBits(j - 1);
    }

    void Run(int32_t destSize) {
        std::memset(window, 0x20, sizeof window);
        unsigned r = 0;
        int64_t produced = 0;
        while (produced < destSize) {
            const unsigned c = DecodeCode();
            if (c <= 255) {
                window[r] = static_cast<uint8_t>(c);
                st.PutTargetByte(static_cast<uint8_t>(c));
                r = (r + 1) & (kDictSize - 1);
                ++produced;
            } else {
                const unsigned len = c - (256 - kThreshold);
                unsigned s = (r - DecodePosition() - 1) & (kDictSize - 1);
                produced += len;
                for (unsigned k = 0; k < len; ++k) {
                    const uint8_t b = window[s];
                    window[r] = b;
                    st.PutTargetByte(b);
                    r = (r + 1) & (kDictSize - 1);
                    s = (s + 1) & (kDictSize - 1);
                }
            }
        }
    }
};

}  // namespace

void ExpandLh5(TCodecState& st, int32_t destSize) {
    if (destSize <= 0) return;
    auto decoder = std::make_unique<Lh5Decoder>(st);
    decoder->Run(destSize);
}

}  // namespace kelp
