#include "archive/codec/LzhModel.h"

#include <algorithm>
#include <cstring>

namespace kelp::lzh {

void Model::StartModel() {
    std::memset(Watched, 0, sizeof Watched);
    MovedCount = 0;
    Reshaped = true;
    for (int s = 0; s < kSymbols; ++s) {
        Freq[s] = 1;
        Down[s] = static_cast<int16_t>(kNodes + s);
        Up[kNodes + s] = static_cast<int16_t>(s);
    }
    int i = 0;
    for (int j = kSymbols; j < kNodes; ++j, i += 2) {
        Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
        Down[j] = static_cast<int16_t>(i);
        Up[i] = Up[i + 1] = static_cast<int16_t>(j);
    }
    Freq[kNodes] = 0xFFFF;  // stops the scan in UpdateModel
    for (int i = kNodes + 1; i < static_cast<int>(sizeof Freq / sizeof Freq[0]); ++i) Freq[i] = 0xFFFF;
    Freq[kIdleSlot] = 0;
    Up[kRoot] = 0;
}

void Model::RebuildModel() {
    Reshaped = true;
    int j = 0;
    for (int i = 0; i < kNodes; ++i) {
        if (Down[i] >= kNodes) {
            Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
            Down[j] = Down[i];
            ++j;
        }
    }
    int i = 0;
    for (j = kSymbols; j < kNodes; ++j, i += 2) {
        const uint16_t f = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
        // Freq[0..j) is sorted: the new node goes after every weight not above its own.
        const int k = static_cast<int>(std::upper_bound(Freq, Freq + j, f) - Freq);
        std::memmove(&Freq[k + 1], &Freq[k], (j - k) * sizeof Freq[0]);
        std::memmove(&Down[k + 1], &Down[k], (j - k) * sizeof Down[0]);
        Freq[k] = f;
        Down[k] = static_cast<int16_t>(i);
    }
    for (i = 0; i < kNodes; ++i) {
        const int k = Down[i];
        if (k >= kNodes)
            Up[k] = static_cast<int16_t>(i);
        else
            Up[k] = Up[k + 1] = static_cast<int16_t>(i);
    }
}

void Model::UpdateModel(int symbol) {
    if (Freq[kRoot] == kRebuildWeight) RebuildModel();
    WalkUp(Up[kNodes + symbol]);
}

}  // namespace kelp::lzh
