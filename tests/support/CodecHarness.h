// Runs single codec routines for tests: with the real byte budget through the codec
// run, or with an unlimited one to see an encoder's whole output.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "archive/codec/CodecState.h"

namespace kelp::test {

using Bytes = std::vector<uint8_t>;

// Compresses through the codec run; nullopt when the method raises EUnableToCompress.
std::optional<Bytes> TryCompress(uint8_t method, const Bytes& plain, int32_t key = 0);
// Runs an encoder routine without an output budget.
Bytes CompressUnbounded(void (*routine)(TCodecState&), const Bytes& plain);
// Decodes `coded` (all of it is the source) to `destSize` bytes through the codec run.
Bytes Expand(uint8_t method, const Bytes& coded, int32_t destSize);

// Deterministic sample data of n bytes.
Bytes SampleText(size_t n);
Bytes SampleCode(size_t n);     // executable-like: opcodes, small offsets, tables, zeros
Bytes SampleRandom(size_t n, uint64_t seed = 1);
Bytes SampleRuns(size_t n);     // runs of one byte of varying length

// Writes bit fields most significant bit first, for hand-made streams.
class BitWriter {
public:
    void Put(uint32_t value, int bits);
    Bytes Finish();  // pads the last byte with zeros

private:
    Bytes out_;
    uint32_t acc_ = 0;
    int count_ = 0;
};

}  // namespace kelp::test
