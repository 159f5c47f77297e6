#include "archive/codec/CodecState.h"

#include "archive/codec/Yield.h"

namespace kelp {

bool TCodecState::Refill() {
    InputEnded = true;
    if (InRemaining == 0) return false;
    if (InRemaining < ChunkSize) ChunkSize = InRemaining;
    int32_t got = Source->Read(InBuffer.get(), ChunkSize);
    if (got <= 0) return false;
    InRemaining -= got;
    InPos = InBuffer.get();
    InEnd = InPos + got;
    if (OnProgress) {
        InConsumed += got;
        int32_t percent = Percentage(InConsumed, InConsumed + InRemaining);
        OnProgress(percent);
        if (percent == -1) return false;  // cancelled: the new bytes stay, the flag stays set
    }
    YieldTimeSlice();
    InputEnded = false;
    return true;
}

void TCodecState::FlushFullBuffer() {
    YieldTimeSlice();
    Dest->WriteBuffer(OutBuffer.get(), kCodecChunk);
    OutPos = OutBuffer.get();
}

void TCodecState::FlushTail() {
    int32_t n = static_cast<int32_t>(OutPos - OutBuffer.get());
    if (n > 0) Dest->WriteBuffer(OutBuffer.get(), n);
    OutPos = OutBuffer.get();
}

}  // namespace kelp
