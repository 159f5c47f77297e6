// Encoder of the LZH method. The plain entry point is CompressLzh (ProcessStream.h);
// the search variant lets a test prove that the cached prefix lengths change only
// the speed of the match finder, never its result.
#pragma once
#include "archive/codec/CodecState.h"

namespace kelp {

enum class LzhSearch {
    CachedPrefix,  // skip comparisons using each node's shared-prefix length
    FullCompare,   // compare every visited node from its second byte on
};

void CompressLzhWith(TCodecState& st, LzhSearch search);

}  // namespace kelp
