#include "support/LhaMember.h"

namespace kelp::test {

namespace {
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}
}  // namespace

std::optional<LhaMember> ReadLhaMember(const std::vector<uint8_t>& a) {
    if (a.size() < 24) return std::nullopt;
    LhaMember m;
    m.method.assign(a.begin() + 2, a.begin() + 7);
    uint32_t packed = Le(a, 7, 4);
    m.originalSize = Le(a, 11, 4);
    const int level = a[20];
    size_t dataAt = 0;
    if (level == 2) {
        dataAt = Le(a, 0, 2);
    } else if (level == 0 || level == 1) {
        dataAt = static_cast<size_t>(a[0]) + 2;
        if (level == 1) {  // extended headers sit inside the packed size
            size_t next = Le(a, dataAt - 2, 2);
            while (next != 0 && dataAt + next <= a.size()) {
                packed -= static_cast<uint32_t>(next);
                dataAt += next;
                next = Le(a, dataAt - 2, 2);
            }
        }
    } else {
        return std::nullopt;
    }
    if (dataAt + packed > a.size()) return std::nullopt;
    m.data.assign(a.begin() + static_cast<long>(dataAt), a.begin() + static_cast<long>(dataAt + packed));
    return m;
}

}  // namespace kelp::test
