#include "archive/codec/Lh5Huffman.h"

namespace kelp::lh5 {

void HuffmanBuilder::DownHeap(int i) {
    const int k = heap_[i];
    int j;
    while ((j = 2 * i) <= heapSize_) {
        if (j < heapSize_ && freq_[heap_[j]] > freq_[heap_[j + 1]]) ++j;
        if (freq_[k] <= freq_[heap_[j]]) break;
        heap_[i] = heap_[j];
        i = j;
    }
    heap_[i] = k;
}

int HuffmanBuilder::MakeTree(int n, uint16_t* freq, uint8_t* len, uint16_t* code, TreeNodes& nodes) {
    n_ = n;
    freq_ = freq;
    len_ = len;
    nodes_ = &nodes;
    heapSize_ = 0;
    heap_[1] = 0;
    for (int i = 0; i < n; ++i) {
        len[i] = 0;
        if (freq[i]) heap_[++heapSize_] = i;
    }
    if (heapSize_ < 2) {
        code[heap_[1]] = 0;
        return heap_[1];
    }
    for (int i = heapSize_ / 2; i >= 1; --i) DownHeap(i);
    sorted_ = 0;
    int avail = n;
    int k = 0;
    do {
        const int i = heap_[1];
        if (i < n) sortOrder_[sorted_++] = i;
        heap_[1] = heap_[heapSize_--];
        DownHeap(1);
        const int j = heap_[1];
        if (j < n) sortOrder_[sorted_++] = j;
        k = avail++;
        freq[k] = static_cast<uint16_t>(freq[i] + freq[j]);
        heap_[1] = k;
        DownHeap(1);
        nodes.Left[k] = static_cast<uint16_t>(i);
        nodes.Right[k] = static_cast<uint16_t>(j);
    } while (heapSize_ > 1);
    MakeLen(k);
    MakeCode(n, len, code);
    return k;
}

void HuffmanBuilder::CountLengths(int node, int depth) {
    if (node < n_) {
        ++lenCount_[depth < kMaxCodeLen ? depth : kMaxCodeLen];
    } else {
        CountLengths(nodes_->Left[node], depth + 1);
        CountLengths(nodes_->Right[node], depth + 1);
    }
}

void HuffmanBuilder::MakeLen(int root) {
    for (auto& c : lenCount_) c = 0;
    CountLengths(root, 0);
    // Leaves deeper than 16 were counted at 16: the code is over-full by `cum`.
    uint16_t cum = 0;
    for (int k = kMaxCodeLen; k > 0; --k) cum = static_cast<uint16_t>(cum + (lenCount_[k] << (kMaxCodeLen - k)));
    if (cum != 0) {
        lenCount_[kMaxCodeLen] = static_cast<uint16_t>(lenCount_[kMaxCodeLen] - cum);
        for (unsigned step = 0; step < cum; ++step) {
            for (int k = kMaxCodeLen - 1; k > 0; --k) {
                if (lenCount_[k] != 0) {
                    --lenCount_[k];
                    lenCount_[k + 1] = static_cast<uint16_t>(lenCount_[k + 1] + 2);
                    break;
                }
            }
        }
    }
    int next = 0;
    for (int k = kMaxCodeLen; k > 0; --k) {
        for (int c = lenCount_[k]; c > 0; --c) len_[sortOrder_[next++]] = static_cast<uint8_t>(k);
    }
}

void HuffmanBuilder::MakeCode(int n, const uint8_t* len, uint16_t* code) const {
    uint32_t start[kMaxCodeLen + 2];
    start[1] = 0;
    for (int k = 1; k <= kMaxCodeLen; ++k) start[k + 1] = start[k] + (lenCount_[k] << (kMaxCodeLen - k));
    for (int i = 0; i < n; ++i) {
        const int k = len[i];
        if (k == 0) continue;
        code[i] = static_cast<uint16_t>(start[k]);
        start[k] += 1u << (kMaxCodeLen - k);
    }
}

}  // namespace kelp::lh5
