// Huffman codes of one LH5 block: built with a heap, limited to 16 bits, assigned
// canonically (left-aligned in 16 bits).
#pragma once
#include <cstdint>

#include "archive/codec/Lh5Table.h"

namespace kelp::lh5 {

class HuffmanBuilder {
public:
    // freq must have room for n + (n - 1) entries: internal nodes are weighed there.
    // Returns the root: a node (>= n) or, with fewer than two used symbols, that
    // symbol (0 when none), whose length stays 0.
    int MakeTree(int n, uint16_t* freq, uint8_t* len, uint16_t* code, TreeNodes& nodes);

private:
    void DownHeap(int i);
    void CountLengths(int node, int depth);
    void MakeLen(int root);
    void MakeCode(int n, const uint8_t* len, uint16_t* code) const;

    int n_ = 0;
    int heapSize_ = 0;
    const uint16_t* freq_ = nullptr;
    uint8_t* len_ = nullptr;
    const TreeNodes* nodes_ = nullptr;
    int heap_[kNC + 1];
    int sortOrder_[kNC];  // symbols in the order they left the heap, lightest first
    int sorted_ = 0;
    uint16_t lenCount_[kMaxCodeLen + 1];
};

}  // namespace kelp::lh5
