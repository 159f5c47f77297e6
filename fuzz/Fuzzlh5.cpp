#include "FuzzDecode.h"
#include "archive/codec/Methods.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelp::FuzzDecode(kelp::kMethodLh5, data, size);
    return 0;
}
