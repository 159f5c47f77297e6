#include "archive/codec/Lh5Table.h"

#include "archive/codec/CodecErrors.h"

namespace kelp::lh5 {

void BuildTable(int symbols, const uint8_t* lengths, int tableBits, uint16_t* table, TreeNodes& nodes) {
    uint32_t count[kMaxCodeLen + 1] = {};
    for (int i = 0; i < symbols; ++i) {
        if (lengths[i] > kMaxCodeLen) throw ELZHBadDecodeTable(kBadDecodeTableMessage);
        ++count[lengths[i]];
    }
    uint32_t start[kMaxCodeLen + 2];
    start[1] = 0;
    for (int k = 1; k <= kMaxCodeLen; ++k) start[k + 1] = start[k] + (count[k] << (kMaxCodeLen - k));
    if (start[kMaxCodeLen + 1] != (1u << kMaxCodeLen)) throw ELZHBadDecodeTable(kBadDecodeTableMessage);

    const int shift = kMaxCodeLen - tableBits;
    uint32_t weight[kMaxCodeLen + 1];
    for (int k = 1; k <= tableBits; ++k) {
        start[k] >>= shift;
        weight[k] = 1u << (tableBits - k);
    }
    for (int k = tableBits + 1; k <= kMaxCodeLen; ++k) weight[k] = 1u << (kMaxCodeLen - k);

    const uint32_t tableSize = 1u << tableBits;
    const uint32_t firstLong = start[tableBits + 1] >> shift;
    if (firstLong != tableSize) {
        for (uint32_t i = firstLong; i < tableSize; ++i) table[i] = 0;
    }

    int avail = symbols;
    for (int ch = 0; ch < symbols; ++ch) {
        const int k = lengths[ch];
        if (k == 0) continue;
        const uint32_t next = start[k] + weight[k];
        if (k <= tableBits) {
            for (uint32_t i = start[k]; i < next; ++i) table[i] = static_cast<uint16_t>(ch);
        } else {
            const uint32_t code = start[k];  // left-aligned in 16 bits
            uint16_t* e = &table[code >> shift];
            for (int bit = kMaxCodeLen - 1 - tableBits; bit > kMaxCodeLen - 1 - k; --bit) {
                if (*e == 0) {
                    if (avail >= kTreeNodes) throw ELZHBadDecodeTable(kBadDecodeTableMessage);
                    nodes.Left[avail] = nodes.Right[avail] = 0;
                    *e = static_cast<uint16_t>(avail++);
                }
                e = (code >> bit) & 1 ? &nodes.Right[*e] : &nodes.Left[*e];
            }
            *e = static_cast<uint16_t>(ch);
        }
        start[k] = next;
    }
}

}  // namespace kelp::lh5
