// Decoder of the LH5 method: blocks of static Huffman codes over an 8192-byte window
// that starts as spaces. Malformed tables are rejected before they are used.
#include <cstring>
#include <memory>

#include "archive/codec/BitReader.h"
#include "archive/codec/Lh5Table.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

using namespace lh5;

[[noreturn]] void BadTable() { throw ELZHBadDecodeTable(kBadDecodeTableMessage); }

struct Lh5Decoder {
    TCodecState& st;
    uint8_t window[kDictSize];
    BitReader<PastEnd::ZerosOnly> in;
    uint32_t blockSize = 0;
    TreeNodes nodes;
    uint8_t codeLen[kNC + 1];
    uint8_t ptLen[kPtLenSize];
    uint16_t codeTable[1 << kCTableBits];
    uint16_t ptTable[1 << kPtTableBits];
    unsigned r = 0;        // write position in the window
    unsigned flushed = 0;  // window bytes before this one have been put to the sink

    explicit Lh5Decoder(TCodecState& s) : st(s), in(s) {}

    unsigned Peek16() {
        in.Need(16);
        return in.Peek(16);
    }
    void Skip(unsigned n) { in.Skip(n); }
    unsigned GetBits(unsigned n) { return in.Get(n); }

    // Hands the window bytes written since the last call to the byte sink.
    void Flush() {
        st.PutTargetBytes(window + flushed, r - flushed);
        flushed = r;
    }
    void Advance() {
        if (++r == kDictSize) {
            Flush();
            r = flushed = 0;
        }
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
            Flush();  // what came before a bad table reaches the sink, as byte by byte
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
        int64_t produced = 0;
        while (produced < destSize) {
            const unsigned c = DecodeCode();
            if (c <= 255) {
                window[r] = static_cast<uint8_t>(c);
                Advance();
                ++produced;
                continue;
            }
            const unsigned len = c - (256 - kThreshold);
            const unsigned d = DecodePosition() + 1;
            const unsigned s = (r - d) & (kDictSize - 1);
            produced += len;
            if (d >= len && r + len < kDictSize && s + len <= kDictSize) {
                // Source and target do not overlap and nothing wraps.
                std::memmove(window + r, window + s, len);
                r += len;
            } else {
                for (unsigned k = 0; k < len; ++k) {
                    window[r] = window[(s + k) & (kDictSize - 1)];
                    Advance();
                }
            }
        }
        Flush();
    }
};

}  // namespace

void ExpandLh5(TCodecState& st, int32_t destSize) {
    if (destSize <= 0) return;
    auto decoder = std::make_unique<Lh5Decoder>(st);
    decoder->Run(destSize);
}

}  // namespace kelp
