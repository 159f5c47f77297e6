// Methods whose coders are not built yet raise a clear error instead of writing garbage.
#include "archive/codec/ProcessStream.h"

namespace kelp {

void CompressLzh(TCodecState&) { throw Exception("LZH compression is not available yet"); }
void CompressLh5(TCodecState&) { throw Exception("LH5 compression is not available yet"); }
void ExpandLh5(TCodecState&, int32_t) { throw Exception("LH5 expansion is not available yet"); }

}  // namespace kelp
