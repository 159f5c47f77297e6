// Method table shared by the format and the codec run.
#pragma once
#include <cstdint>

namespace kelp {

enum Method : uint8_t { kMethodNone = 0, kMethodRle = 1, kMethodLzh = 2, kMethodCustom = 3, kMethodLh5 = 4 };

inline constexpr int kMethodCount = 5;
inline constexpr const char* kMethodIds[kMethodCount] = {"NON", "RLE", "LZH", "CUS", "LH5"};

}  // namespace kelp
