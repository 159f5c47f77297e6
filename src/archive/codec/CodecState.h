// The per-component state of one codec run: the chunked byte source, the buffered
// byte sink, sums, progress and key scrambling. Nothing here is global.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

#include "archive/codec/CodecErrors.h"
#include "base/Stream.h"

namespace kelp {

using TShowProgressEvent = std::function<void(int32_t& PercentageDone)>;

inline constexpr int32_t kCodecChunk = 8192;

class TCodecState {
public:
    // Flags of the RLE compressor and the byte source.
    bool FirstByte = true;
    bool InputEnded = false;
    bool InRun = false;

    std::unique_ptr<uint8_t[]> InBuffer;
    std::unique_ptr<uint8_t[]> OutBuffer;
    uint8_t* InEnd = nullptr;
    uint8_t* InPos = nullptr;
    uint8_t* OutEnd = nullptr;
    uint8_t* OutPos = nullptr;

    Stream* Source = nullptr;
    Stream* Dest = nullptr;

    uint8_t RunByte = 0;
    int32_t RunCount = 0;
    uint32_t InSum = 0;
    uint32_t OutSum = 0;
    int32_t InRemaining = 0;
    int32_t ChunkSize = kCodecChunk;
    int32_t InConsumed = 0;
    int32_t OutCount = 0;
    bool Descramble = false;
    bool Scramble = false;
    uint8_t KeyBytes[4] = {0, 0, 0, 0};
    int16_t KeyIndex = 0;
    int32_t OutBudget = 0;
    TShowProgressEvent OnProgress;

    uint8_t ScrambleByte(uint8_t b) {
        b ^= KeyBytes[KeyIndex];
        KeyIndex = static_cast<int16_t>((KeyIndex + 1) & 3);
        return b;
    }

    // Next source byte; 0 with InputEnded set once the source is exhausted (or cancelled).
    uint8_t GetSourceByte() {
        if (InPos == InEnd) {
            if (!Refill()) return 0;
        }
        uint8_t b = *InPos++;
        InSum += b;
        return Descramble ? ScrambleByte(b) : b;
    }

    void PutTargetByte(uint8_t b) {
        if (OutBudget <= 0) throw EUnableToCompress(kUnableToCompressMessage);
        --OutBudget;
        if (OutPos == OutEnd) FlushFullBuffer();
        if (Scramble) b = ScrambleByte(b);
        *OutPos++ = b;
        OutSum += b;
        ++OutCount;
    }

    // The same as PutTargetByte for each byte in turn, a buffer at a time.
    void PutTargetBytes(const uint8_t* p, size_t n) {
        if (Scramble) {
            for (size_t i = 0; i < n; ++i) PutTargetByte(p[i]);
            return;
        }
        while (n > 0) {
            if (OutBudget <= 0) throw EUnableToCompress(kUnableToCompressMessage);
            if (OutPos == OutEnd) FlushFullBuffer();
            size_t k = static_cast<size_t>(OutEnd - OutPos);
            if (k > n) k = n;
            if (k > static_cast<size_t>(OutBudget)) k = static_cast<size_t>(OutBudget);
            uint32_t sum = 0;
            for (size_t i = 0; i < k; ++i) sum += p[i];
            std::memcpy(OutPos, p, k);
            OutPos += k;
            OutSum += sum;
            OutCount += static_cast<int32_t>(k);
            OutBudget -= static_cast<int32_t>(k);
            p += k;
            n -= k;
        }
    }

    // Progress in percent of a run of `total` bytes; keeps the product inside 32 bits.
    static int32_t Percentage(int32_t done, int32_t total) {
        if (total <= 100000) return total == 0 ? 0 : done * 100 / total;
        return done / (total / 100);
    }

    // Writes whatever the output buffer holds (end of a run).
    void FlushTail();

private:
    bool Refill();
    void FlushFullBuffer();
};

}  // namespace kelp
