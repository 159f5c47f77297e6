// Reads the first member of an LHA archive (level 0, 1 or 2 header): method,
// sizes and the compressed bytes, so decoders can be checked against another tool.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelp::test {

struct LhaMember {
    std::string method;  // "-lh1-", "-lh5-", ...
    uint32_t originalSize = 0;
    std::vector<uint8_t> data;
};

std::optional<LhaMember> ReadLhaMember(const std::vector<uint8_t>& archive);

}  // namespace kelp::test
