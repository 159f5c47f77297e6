// Failures the codecs themselves raise.
#pragma once
#include "base/Exception.h"

namespace kelp {

// An encoder's output would grow beyond the plain size.
KELP_EXCEPTION(EUnableToCompress);
// An LH5 stream whose code lengths cannot form a decoding table.
KELP_EXCEPTION(ELZHBadDecodeTable);

inline constexpr const char* kUnableToCompressMessage = "Could not compress data, will store instead";
inline constexpr const char* kBadDecodeTableMessage = "Bad decode table in archive!";

}  // namespace kelp
