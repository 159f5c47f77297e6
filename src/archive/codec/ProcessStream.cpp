#include "archive/codec/ProcessStream.h"

#include "archive/codec/Methods.h"

namespace kelp {

namespace {

void RunMethod(TCodecState& st, uint8_t method, int direction, int32_t destSize) {
    const bool expand = direction == kExpand;
    switch (method) {
        case kMethodNone: CopyStored(st); break;
        case kMethodRle: expand ? ExpandRle(st) : CompressRle(st); break;
        case kMethodLzh: expand ? ExpandLzh(st, destSize) : CompressLzh(st); break;
        case kMethodLh5: expand ? ExpandLh5(st, destSize) : CompressLh5(st); break;
        default: break;  // "CUS" and unknown bytes run nothing
    }
}

// Releases the run's buffers however the run ends.
struct BufferRelease {
    TCodecState& st;
    ~BufferRelease() {
        st.InBuffer.reset();
        st.OutBuffer.reset();
        st.InPos = st.InEnd = st.OutPos = st.OutEnd = nullptr;
        st.Source = st.Dest = nullptr;
        st.OnProgress = nullptr;
    }
};

}  // namespace

int32_t ProcessStream(TCodecState& st, Stream& dest, Stream& source, int32_t sourceSize,
                      int32_t destSize, uint8_t method, uint32_t& checksum, int direction,
                      bool scrambled, const TShowProgressEvent& onShowProgress, int32_t key) {
    const bool expand = direction == kExpand;
    if (onShowProgress) {
        int32_t percent = 0;
        onShowProgress(percent);
        if (percent == -1) return 0;
    }

    BufferRelease release{st};
    st.OnProgress = onShowProgress;
    st.Source = &source;
    st.Dest = &dest;
    st.InBuffer.reset(new uint8_t[kCodecChunk]);
    st.OutBuffer.reset(new uint8_t[kCodecChunk]);
    st.InPos = st.InEnd = st.InBuffer.get();
    st.OutPos = st.OutBuffer.get();
    st.OutEnd = st.OutPos + kCodecChunk;
    st.InputEnded = false;
    st.FirstByte = true;
    st.RunByte = 0;
    st.InRun = false;
    st.RunCount = 0;
    st.InRemaining = sourceSize;
    st.ChunkSize = kCodecChunk;
    st.InSum = st.OutSum = 0;
    st.InConsumed = 0;
    st.OutBudget = expand ? 0x7FFFFFFF : sourceSize;
    st.Scramble = !expand && key != 0;
    st.Descramble = expand && key != 0 && scrambled;
    const uint32_t k = static_cast<uint32_t>(key);
    for (int i = 0; i < 4; ++i) st.KeyBytes[i] = static_cast<uint8_t>(k >> (8 * i));
    st.KeyIndex = 0;
    st.OutCount = expand ? 1 : 0;

    RunMethod(st, method, direction, destSize);
    checksum = expand ? st.OutSum : st.InSum;
    st.FlushTail();
    const int32_t outCount = st.OutCount;

    if (onShowProgress) {
        int32_t percent = 100;
        onShowProgress(percent);
    }
    return outCount;
}

void CopyStored(TCodecState& st) {
    for (;;) {
        uint8_t b = st.GetSourceByte();
        if (st.InputEnded) break;
        st.PutTargetByte(b);
    }
}

}  // namespace kelp
