#include "support/CodecHarness.h"

#include <string>

#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"

namespace kelp::test {

std::optional<Bytes> TryCompress(uint8_t method, const Bytes& plain, int32_t key) {
    TCodecState st;
    MemoryStream src(plain), dst;
    uint32_t sum = 0;
    try {
        ProcessStream(st, dst, src, static_cast<int32_t>(plain.size()), 0, method, sum, kCompress, false, nullptr, key);
    } catch (const EUnableToCompress&) {
        return std::nullopt;
    }
    return dst.Bytes();
}

Bytes CompressUnbounded(void (*routine)(TCodecState&), const Bytes& plain) {
    TCodecState st;
    MemoryStream src(plain), dst;
    st.Source = &src;
    st.Dest = &dst;
    st.InBuffer.reset(new uint8_t[kCodecChunk]);
    st.OutBuffer.reset(new uint8_t[kCodecChunk]);
    st.InPos = st.InEnd = st.InBuffer.get();
    st.OutPos = st.OutBuffer.get();
    st.OutEnd = st.OutPos + kCodecChunk;
    st.InRemaining = static_cast<int32_t>(plain.size());
    st.OutBudget = 0x7FFFFFFF;
    routine(st);
    st.FlushTail();
    return dst.Bytes();
}

Bytes Expand(uint8_t method, const Bytes& coded, int32_t destSize) { return Decode(method, coded, destSize); }

namespace {

struct Rng {
    uint64_t s;
    uint64_t Next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 16) % n); }
};

}  // namespace

Bytes SampleText(size_t n) {
    static const char* const kWords[] = {"the", "archive", "server", "of", "and", "transfer", "file",
                                         "directory", "a", "to", "client", "password", "is", "install",
                                         "remote", "host", "session", "upload", "download", "in"};
    Rng rng{0x1234567};
    Bytes out;
    size_t line = 0;
    while (out.size() < n) {
        const std::string w = kWords[rng.Below(20)];
        out.insert(out.end(), w.begin(), w.end());
        line += w.size() + 1;
        if (line > 70) {
            out.push_back('\r');
            out.push_back('\n');
            line = 0;
        } else {
            out.push_back(rng.Below(9) ? ' ' : ',');
        }
    }
    out.resize(n);
    return out;
}

Bytes SampleCode(size_t n) {
    Rng rng{0xC0DE};
    Bytes out;
    while (out.size() < n) {
        switch (rng.Below(6)) {
            case 0: out.insert(out.end(), {0x55, 0x8B, 0xEC}); break;                  // prologue
            case 1: out.insert(out.end(), {0x8B, 0x45, static_cast<uint8_t>(4 * rng.Below(16))}); break;
            case 2: {                                                                  // near call
                const uint32_t rel = 0xFFFF0000u + rng.Below(0x10000);
                out.push_back(0xE8);
                for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(rel >> (8 * i)));
                break;
            }
            case 3: {                                                                  // pointer table
                const uint32_t p = 0x00401000u + 16 * rng.Below(1024);
                for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(p >> (8 * i)));
                break;
            }
            case 4: out.insert(out.end(), 4 * (1 + rng.Below(8)), 0); break;         // padding
            default: out.insert(out.end(), {0x5D, 0xC3}); break;                      // epilogue
        }
    }
    out.resize(n);
    return out;
}

Bytes SampleRandom(size_t n, uint64_t seed) {
    Rng rng{seed * 0x9E3779B97F4A7C15ull | 1};
    Bytes out(n);
    for (auto& b : out) b = static_cast<uint8_t>(rng.Next() >> 24);
    return out;
}

Bytes SampleRuns(size_t n) {
    Rng rng{77};
    Bytes out;
    while (out.size() < n) out.insert(out.end(), 1 + rng.Below(700), static_cast<uint8_t>(rng.Below(4) * 60));
    out.resize(n);
    return out;
}

void BitWriter::Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        acc_ = (acc_ << 1) | ((value >> i) & 1);
        if (++count_ == 8) {
            out_.push_back(static_cast<uint8_t>(acc_));
            acc_ = 0;
            count_ = 0;
        }
    }
}

Bytes BitWriter::Finish() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    acc_ = 0;
    count_ = 0;
    return out_;
}

}  // namespace kelp::test
