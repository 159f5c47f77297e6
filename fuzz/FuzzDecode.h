// Shared by the decoder fuzzers: the first bytes choose the output size, the rest
// is the coded stream. Small sizes keep each run fast.
#pragma once
#include <cstddef>
#include <cstdint>

#include "archive/codec/ProcessStream.h"

namespace kelp {

// Discards output but keeps the sink's buffers honest.
class NullStream : public Stream {
public:
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void*, int32_t n) override { return n > 0 ? n : 0; }
    int64_t Seek(int64_t, SeekOrigin) override { return 0; }
    int64_t Size() override { return 0; }
};

inline void FuzzDecode(uint8_t method, const uint8_t* data, size_t size) {
    if (size < 2) return;
    const int32_t destSize = static_cast<int32_t>(data[0] | (data[1] << 8)) * 4;
    ReadOnlyMemoryStream source(data + 2, size - 2);
    NullStream sink;
    TCodecState state;
    uint32_t sum = 0;
    try {
        ProcessStream(state, sink, source, static_cast<int32_t>(size - 2), destSize, method, sum, kExpand, false,
                      nullptr, 0);
    } catch (const ELZHBadDecodeTable&) {
    }
}

}  // namespace kelp
