// Encoder of the LH5 method: trie matches with a one-step lazy choice, symbols
// buffered in 16 KB blocks, each block sent with its own Huffman codes.
#include <bit>
#include <cstring>
#include <memory>

#include "archive/codec/Lh5Dictionary.h"
#include "archive/codec/Lh5Huffman.h"
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

using namespace lh5;

constexpr int kSymbolBufSize = 16384;
constexpr int kSendThreshold = kSymbolBufSize - 24;  // room for a full flag group
constexpr int kStartPos = kDictSize + kMaxMatch;    // 8448: where the first read lands

// Number of significant bits of p: the position symbol of a distance.
inline int BitLength(unsigned p) { return std::bit_width(p); }

struct Lh5Encoder {
    TCodecState& st;
    Dictionary dict;
    HuffmanBuilder huffman;
    TreeNodes nodes;
    int remainder = 0;  // bytes of input not yet encoded

    uint8_t symbolBuf[kSymbolBufSize + 1];
    unsigned outputPos = 0;
    unsigned outputMask = 0;
    unsigned flagPos = 0;

    uint16_t codeFreq[kTreeNodes + 1];
    uint16_t posFreq[2 * kNP - 1];
    uint16_t tFreq[2 * kNT - 1];
    uint8_t codeLen[kNC + 1];
    uint16_t codeBits[kNC + 1];
    uint8_t ptLen[kPtLenSize];
    uint16_t ptCode[kPtLenSize];

    // Bit writer: the byte being filled and how many of its bits are still free.
    unsigned subBitBuf = 0;
    unsigned bitCount = 8;

    explicit Lh5Encoder(TCodecState& s) : st(s) {}

    // Writes the top n bits of the left-aligned 16-bit x.
    void WriteCode(unsigned n, unsigned x) {
        x &= 0xFFFF;
        while (n >= bitCount) {
            n -= bitCount;
            subBitBuf += x >> (16 - bitCount);
            x = (x << bitCount) & 0xFFFF;
            st.PutTargetByte(static_cast<uint8_t>(subBitBuf));
            subBitBuf = 0;
            bitCount = 8;
        }
        subBitBuf += x >> (16 - bitCount);
        bitCount -= n;
    }
    void WriteBits(unsigned n, unsigned x) { WriteCode(n, x << (16 - n)); }

    void EncodeCode(unsigned c) { WriteCode(codeLen[c], codeBits[c]); }
    void EncodePosition(unsigned p) {
        const int j = BitLength(p);
        WriteCode(ptLen[j], ptCode[j]);
        if (j > 1) WriteBits(j - 1, p & (0xFFFFu >> (17 - j)));
    }

    int TrimmedCodeLenCount() const {
        int n = kNC;
        while (n > 0 && codeLen[n - 1] == 0) --n;
        return n;
    }

    void CountTFreq() {
        for (int i = 0; i < kNT; ++i) tFreq[i] = 0;
        const int n = TrimmedCodeLenCount();
        int i = 0;
        while (i < n) {
            const int k = codeLen[i++];
            if (k != 0) {
                ++tFreq[k + 2];
                continue;
            }
            int run = 1;
            while (i < n && codeLen[i] == 0) {
                ++i;
                ++run;
            }
            if (run <= 2) {
                tFreq[0] = static_cast<uint16_t>(tFreq[0] + run);
            } else if (run <= 18) {
                ++tFreq[1];
            } else if (run == 19) {
                ++tFreq[0];
                ++tFreq[1];
            } else {
                ++tFreq[2];
            }
        }
    }

    void WritePtLen(int n, int fieldBits, int special) {
        while (n > 0 && ptLen[n - 1] == 0) --n;
        WriteBits(fieldBits, n);
        int i = 0;
        while (i < n) {
            const int k = ptLen[i++];
            if (k <= 6)
                WriteBits(3, k);
            else
                WriteBits(k - 3, 0xFFFE);  // k - 4 ones and a zero
            if (i == special) {
                while (i < 6 && ptLen[i] == 0) ++i;
                WriteBits(2, (i - 3) & 3);
            }
        }
    }

    void WriteCodeLen() {
        const int n = TrimmedCodeLenCount();
        WriteBits(kCBits, n);
        int i = 0;
        while (i < n) {
            const int k = codeLen[i++];
            if (k != 0) {
                WriteCode(ptLen[k + 2], ptCode[k + 2]);
                continue;
            }
            int run = 1;
            while (i < n && codeLen[i] == 0) {
                ++i;
                ++run;
            }
            if (run <= 2) {
                for (int z = 0; z < run; ++z) WriteCode(ptLen[0], ptCode[0]);
            } else if (run <= 18) {
                WriteCode(ptLen[1], ptCode[1]);
                WriteBits(4, run - 3);
            } else if (run == 19) {
                WriteCode(ptLen[0], ptCode[0]);
                WriteCode(ptLen[1], ptCode[1]);
                WriteBits(4, 15);
            } else {
                WriteCode(ptLen[2], ptCode[2]);
                WriteBits(kCBits, run - 20);
            }
        }
    }

    void SendBlock() {
        int root = huffman.MakeTree(kNC, codeFreq, codeLen, codeBits, nodes);
        const unsigned size = codeFreq[root];
        WriteBits(16, size);
        if (root >= kNC) {
            CountTFreq();
            root = huffman.MakeTree(kNT, tFreq, ptLen, ptCode, nodes);
            if (root >= kNT) {
                WritePtLen(kNT, kTBits, 3);
            } else {
                WriteBits(kTBits, 0);
                WriteBits(kTBits, root);
            }
            WriteCodeLen();
        } else {
            WriteBits(kTBits, 0);
            WriteBits(kTBits, 0);
            WriteBits(kCBits, 0);
            WriteBits(kCBits, root);
        }
        root = huffman.MakeTree(kNP, posFreq, ptLen, ptCode, nodes);
        if (root >= kNP) {
            WritePtLen(kNP, kPBits, -1);
        } else {
            WriteBits(kPBits, 0);
            WriteBits(kPBits, root);
        }
        unsigned pos = 0;
        unsigned flags = 0;
        for (unsigned i = 0; i < size; ++i) {
            if (i % 8 == 0)
                flags = symbolBuf[pos++];
            else
                flags <<= 1;
            if (flags & 0x80) {
                EncodeCode(symbolBuf[pos++] + 256u);
                unsigned p = static_cast<unsigned>(symbolBuf[pos++]) << 8;
                p += symbolBuf[pos++];
                EncodePosition(p);
            } else {
                EncodeCode(symbolBuf[pos++]);
            }
        }
        for (int i = 0; i < kNC; ++i) codeFreq[i] = 0;
        for (int i = 0; i < kNP; ++i) posFreq[i] = 0;
    }

    void OutputSymbol(unsigned c, unsigned p) {
        outputMask >>= 1;
        if (outputMask == 0) {
            outputMask = 0x80;
            if (outputPos >= static_cast<unsigned>(kSendThreshold)) {
                SendBlock();
                outputPos = 0;
            }
            flagPos = outputPos;
            symbolBuf[flagPos] = 0;
            ++outputPos;
        }
        symbolBuf[outputPos++] = static_cast<uint8_t>(c);
        ++codeFreq[c];
        if (c >= 256) {
            symbolBuf[flagPos] = static_cast<uint8_t>(symbolBuf[flagPos] | outputMask);
            symbolBuf[outputPos++] = static_cast<uint8_t>(p >> 8);
            symbolBuf[outputPos++] = static_cast<uint8_t>(p);
            ++posFreq[BitLength(p)];
        }
    }

    // Reads up to `count` bytes into the window at `at`; returns how many came.
    // The 0 of the failing read lands after the data.
    int ReadInto(int at, int count) {
        int n = 0;
        while (n < count) {
            const uint8_t b = st.GetSourceByte();
            dict.Window[at + n] = b;
            if (st.InputEnded) break;
            ++n;
        }
        return n;
    }

    void NextMatch() {
        --remainder;
        if (++dict.Pos == 2 * kDictSize) {
            std::memmove(dict.Window, dict.Window + kDictSize, kDictSize + kMaxMatch);
            remainder += ReadInto(kStartPos, kDictSize);
            dict.Pos = kDictSize;
        }
        dict.DeletePosition();
        dict.InsertPosition();
    }

    void Run() {
        dict.InitSlide();
        for (int i = 0; i < kNC; ++i) codeFreq[i] = 0;
        for (int i = 0; i < kNP; ++i) posFreq[i] = 0;
        symbolBuf[0] = 0;
        outputPos = outputMask = flagPos = 0;
        subBitBuf = 0;
        bitCount = 8;

        dict.Pos = kStartPos;
        remainder = 0;
        // The first read pads a short input with spaces to a full 8192 bytes.
        bool ended = false;
        for (int i = 0; i < kDictSize; ++i) {
            uint8_t b = 0x20;
            if (!ended) {
                const uint8_t c = st.GetSourceByte();
                if (st.InputEnded)
                    ended = true;
                else {
                    b = c;
                    ++remainder;
                }
            }
            dict.Window[kStartPos + i] = b;
        }
        if (remainder == 0) return;

        dict.MatchPos = 0;
        dict.MatchLen = 0;
        dict.InsertPosition();
        while (remainder > 0) {
            const int last = dict.MatchLen;
            const int lastPos = dict.MatchPos;
            NextMatch();
            if (remainder < dict.MatchLen) dict.MatchLen = remainder;
            if (last < dict.MatchLen || last < kThreshold) {
                OutputSymbol(dict.Window[dict.Pos - 1], 0);
            } else {
                OutputSymbol(static_cast<unsigned>(last + 256 - kThreshold),
                             static_cast<unsigned>(dict.Pos - lastPos - 2) & (kDictSize - 1));
                for (int k = last - 1; k > 0; --k) NextMatch();
                if (remainder < dict.MatchLen) dict.MatchLen = remainder;
            }
        }
        SendBlock();
        WriteBits(7, 0);
    }
};

}  // namespace

void CompressLh5(TCodecState& st) {
    auto encoder = std::make_unique<Lh5Encoder>(st);
    encoder->Run();
}

}  // namespace kelp
