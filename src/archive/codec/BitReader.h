// Most-significant-bit-first reader over the codec run's byte source, shared by the
// LZH and LH5 decoders. Bytes already in the input buffer are taken several at a
// time; the source is asked for a new chunk only when a bit beyond it is needed,
// so chunks are read at the same points as with a byte-at-a-time reader.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

#include "archive/codec/CodecState.h"

namespace kelp {

enum class PastEnd {
    AskAgain,   // a byte taken while the end flag is set counts as 0; the source is asked again
    ZerosOnly,  // once the source has reported its end it is not asked again
};

template <PastEnd kPolicy>
class BitReader {
public:
    explicit BitReader(TCodecState& st) : st_(st) {}

    // Makes at least n (up to 57) bits available.
    void Need(unsigned n) {
        if (count_ < n) Fill(n);
    }
    // The next n bits (1..32) without consuming them; Need(n) must have been called.
    uint32_t Peek(unsigned n) const { return static_cast<uint32_t>(bits_ >> (64 - n)); }
    uint64_t Window() const { return bits_; }
    void Skip(unsigned n) {
        bits_ <<= n;
        count_ -= n;
    }
    uint32_t Get(unsigned n) {
        if (n == 0) return 0;
        Need(n);
        const uint32_t v = Peek(n);
        Skip(n);
        return v;
    }
    unsigned Count() const { return count_; }

private:
    void Fill(unsigned n) {
        // Bytes already in the input buffer come in without a call per byte.
        if (!st_.Descramble && !st_.InputEnded && !ended_) {
            unsigned take = (64 - count_) >> 3;
            const auto avail = static_cast<unsigned>(st_.InEnd - st_.InPos);
            const uint8_t* p = st_.InPos;
            if (avail >= 8) {
                // One load for all the bytes that fit; the sum adds byte lanes in parallel.
                const uint64_t word = LoadBigEndian(p) & (~uint64_t{0} << (64 - 8 * take));
                bits_ |= word >> count_;
                count_ += 8 * take;
                constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
                const uint64_t pairs = (word & kEvenBytes) + ((word >> 8) & kEvenBytes);
                st_.InSum += static_cast<uint32_t>((pairs * 0x0001000100010001ull) >> 48);
            } else {
                if (take > avail) take = avail;
                uint32_t sum = 0;
                for (unsigned i = 0; i < take; ++i) {
                    sum += p[i];
                    bits_ |= static_cast<uint64_t>(p[i]) << (56 - count_);
                    count_ += 8;
                }
                st_.InSum += sum;
            }
            st_.InPos += take;
        }
        while (count_ < n) {
            bits_ |= static_cast<uint64_t>(NextByte()) << (56 - count_);
            count_ += 8;
        }
    }

    static uint64_t LoadBigEndian(const uint8_t* p) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
        return v;
    }

    uint8_t NextByte() {
        if constexpr (kPolicy == PastEnd::ZerosOnly) {
            if (ended_) return 0;
            const uint8_t b = st_.GetSourceByte();
            if (st_.InputEnded) {
                ended_ = true;
                return 0;
            }
            return b;
        } else {
            const uint8_t b = st_.GetSourceByte();
            return st_.InputEnded ? 0 : b;
        }
    }

    TCodecState& st_;
    uint64_t bits_ = 0;  // pending bits, left-aligned
    unsigned count_ = 0;
    bool ended_ = false;
};

}  // namespace kelp
