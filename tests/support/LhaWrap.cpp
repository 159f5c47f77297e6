#include "support/LhaWrap.h"

#include <stdexcept>

namespace kelp::test {

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

constexpr uint32_t kDosTime = 0x27041E0F;  // 1999-08-04 03:48:30

}  // namespace

uint16_t Crc16Arc(const std::vector<uint8_t>& data) {
    uint16_t crc = 0;
    for (uint8_t b : data) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

std::vector<uint8_t> WrapLhaMember(const std::string& method, const std::vector<uint8_t>& coded,
                                   const std::vector<uint8_t>& plain, int level, const std::string& name) {
    if (method.size() != 5) throw std::invalid_argument("method ids have five characters");
    const uint16_t crc = Crc16Arc(plain);
    std::vector<uint8_t> h;
    if (level == 0) {
        // size byte, checksum byte, then the fields the two cover.
        std::vector<uint8_t> body(method.begin(), method.end());
        PutLe(body, static_cast<uint32_t>(coded.size()), 4);
        PutLe(body, static_cast<uint32_t>(plain.size()), 4);
        PutLe(body, kDosTime, 4);
        body.push_back(0x20);  // attribute
        body.push_back(0);     // level
        body.push_back(static_cast<uint8_t>(name.size()));
        body.insert(body.end(), name.begin(), name.end());
        PutLe(body, crc, 2);
        uint8_t sum = 0;
        for (uint8_t b : body) sum = static_cast<uint8_t>(sum + b);
        h.push_back(static_cast<uint8_t>(body.size()));
        h.push_back(sum);
        h.insert(h.end(), body.begin(), body.end());
    } else if (level == 2) {
        // Total header size first; the name travels in an extended header; the
        // header's own CRC sits in a common extended header filled in last.
        std::vector<uint8_t> ext;
        PutLe(ext, 5, 2);
        ext.push_back(0x00);  // common header: CRC-16 of the whole header
        const size_t crcAt = ext.size();
        PutLe(ext, 0, 2);
        PutLe(ext, static_cast<uint32_t>(3 + name.size()), 2);
        ext.push_back(0x01);  // file name
        ext.insert(ext.end(), name.begin(), name.end());
        PutLe(ext, 0, 2);  // no more extended headers
        const size_t size = 24 + ext.size();
        PutLe(h, static_cast<uint32_t>(size), 2);
        h.insert(h.end(), method.begin(), method.end());
        PutLe(h, static_cast<uint32_t>(coded.size()), 4);
        PutLe(h, static_cast<uint32_t>(plain.size()), 4);
        PutLe(h, 935000000, 4);  // Unix time
        h.push_back(0x20);
        h.push_back(2);  // level
        PutLe(h, crc, 2);
        h.push_back('U');  // OS id
        const size_t extAt = h.size();
        h.insert(h.end(), ext.begin(), ext.end());
        const uint16_t headerCrc = Crc16Arc(h);
        h[extAt + crcAt] = static_cast<uint8_t>(headerCrc);
        h[extAt + crcAt + 1] = static_cast<uint8_t>(headerCrc >> 8);
    } else {
        throw std::invalid_argument("only header levels 0 and 2 are written");
    }
    h.insert(h.end(), coded.begin(), coded.end());
    h.push_back(0);
    return h;
}

}  // namespace kelp::test
