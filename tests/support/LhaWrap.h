// Wraps a raw -lh1-/-lh5- stream as the one member of an LHA archive, so that
// other LHA tools can be asked to restore it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kelp::test {

// CRC-16 as LHA uses it: polynomial 0xA001 (reflected), initial value 0.
uint16_t Crc16Arc(const std::vector<uint8_t>& data);

// An archive with one member named `name`: header level 0 or 2, the CRC of `plain`,
// then `coded`, then the end-of-archive byte.
std::vector<uint8_t> WrapLhaMember(const std::string& method, const std::vector<uint8_t>& coded,
                                   const std::vector<uint8_t>& plain, int level,
                                   const std::string& name = "member.bin");

}  // namespace kelp::test
