// Writes a chosen sequence of LZH literals and matches as a bit stream, so decoder
// tests can state exactly which symbols and distances a stream carries.
#pragma once
#include <cstdint>
#include <vector>

#include "archive/codec/LzhModel.h"

namespace kelp::test {

class LzhSymbolWriter {
public:
    LzhSymbolWriter() { model_.StartModel(); }

    void Literal(uint8_t c) { Symbol(c); }
    // `distance` 0 means the byte just before the write position.
    void Match(int length, int distance) {
        Symbol(length + 253);
        const auto upper = static_cast<unsigned>(distance) >> 6;
        Bits(lzh::kDistance.Code[upper] >> (8 - lzh::kDistance.CodeLen[upper]), lzh::kDistance.CodeLen[upper]);
        Bits(static_cast<unsigned>(distance) & 0x3F, 6);
    }
    std::vector<uint8_t> Finish() {
        if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
        count_ = 0;
        return out_;
    }

private:
    void Symbol(int s) {
        std::vector<unsigned> path;
        for (int n = model_.Up[lzh::kNodes + s]; n != lzh::kRoot; n = model_.Up[n])
            path.push_back(n == model_.Down[model_.Up[n]] ? 0u : 1u);
        for (auto it = path.rbegin(); it != path.rend(); ++it) Bits(*it, 1);
        model_.UpdateModel(s);
    }
    void Bits(unsigned value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = (acc_ << 1) | ((value >> i) & 1);
            if (++count_ == 8) {
                out_.push_back(static_cast<uint8_t>(acc_));
                acc_ = 0;
                count_ = 0;
            }
        }
    }

    lzh::Model model_;
    std::vector<uint8_t> out_;
    unsigned acc_ = 0;
    int count_ = 0;
};

}  // namespace kelp::test
