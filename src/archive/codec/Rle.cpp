// Run-length method: escape 0x94, runs of 3..255 written as byte, 0x94, count.
#include "archive/codec/ProcessStream.h"

namespace kelp {

namespace {

constexpr uint8_t kEscape = 0x94;

// Closes a run of n bytes of value b whose first byte is already written.
void EmitRun(TCodecState& st, int32_t n, uint8_t b) {
    if (n == 1 || n == 2) {
        for (int32_t i = 1; i < n; ++i) st.PutTargetByte(b);
    } else {
        st.PutTargetByte(kEscape);
        st.PutTargetByte(static_cast<uint8_t>(n));
    }
}

void PutLiteral(TCodecState& st, uint8_t b) {
    if (b == kEscape)
        EmitRun(st, 0, kEscape);
    else
        st.PutTargetByte(b);
}

}  // namespace

void CompressRle(TCodecState& st) {
    for (;;) {
        uint8_t b = st.GetSourceByte();
        if (st.InputEnded) {
            if (st.InRun) EmitRun(st, st.RunCount, st.RunByte);
            return;
        }
        if (st.InRun) {
            if (b == st.RunByte && st.RunCount < 255) {
                ++st.RunCount;
            } else {
                EmitRun(st, st.RunCount, st.RunByte);
                st.RunByte = b;
                PutLiteral(st, b);
                st.InRun = false;
            }
        } else {
            if (b == kEscape) {
                EmitRun(st, 0, kEscape);
            } else if (b == st.RunByte && !st.FirstByte) {
                st.RunCount = 2;
                st.InRun = true;
            } else {
                st.PutTargetByte(b);
            }
            st.RunByte = b;
        }
        st.FirstByte = false;
    }
}

void ExpandRle(TCodecState& st) {
    for (;;) {
        uint8_t b = st.GetSourceByte();
        if (st.InputEnded) return;
        if (b != kEscape) {
            st.PutTargetByte(b);
        } else {
            uint8_t n = st.GetSourceByte();
            if (n == 0)
                st.PutTargetByte(kEscape);
            else
                for (int i = 1; i < n; ++i) st.PutTargetByte(st.RunByte);
        }
        st.RunByte = b;
    }
}

}  // namespace kelp
