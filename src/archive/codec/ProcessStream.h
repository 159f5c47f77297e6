// The codec run: one method over the bytes of one entry, in either direction.
#pragma once
#include <cstdint>

#include "archive/codec/CodecState.h"

namespace kelp {

enum CodecDirection : int { kCompress = 0, kExpand = 1 };

// Returns bytes written (plus one when expanding), or 0 when the progress
// handler cancelled before anything started. Checksum receives the plain-data sum.
int32_t ProcessStream(TCodecState& state, Stream& dest, Stream& source, int32_t sourceSize,
                      int32_t destSize, uint8_t method, uint32_t& checksum, int direction,
                      bool scrambled, const TShowProgressEvent& onShowProgress, int32_t key);

// One routine per method and direction; each reads only through the byte source
// and writes only through the byte sink of the state.
void CopyStored(TCodecState& st);
void CompressRle(TCodecState& st);
void ExpandRle(TCodecState& st);
void CompressLzh(TCodecState& st);
void ExpandLzh(TCodecState& st, int32_t destSize);
void CompressLh5(TCodecState& st);
void ExpandLh5(TCodecState& st, int32_t destSize);

}  // namespace kelp
