// The run-length method in both directions.
#include <gtest/gtest.h>

#include <random>

#include "archive/codec/CodecErrors.h"
#include "archive/codec/Methods.h"
#include "support/ArchiveFixture.h"

namespace kelp {
namespace {

using test::Bytes;

Bytes Repeat(uint8_t b, size_t n) { return Bytes(n, b); }
Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(Rle, CompressesTheDocumentedExamples) {
    struct Case {
        const char* what;
        Bytes plain;
        Bytes coded;
    };
    const std::vector<Case> cases = {
        {"run of three", Repeat(0x61, 3), {0x61, 0x94, 0x03}},
        {"run of two stays", Repeat(0x61, 2), {0x61, 0x61}},
        {"single byte", {0x61}, {0x61}},
        {"zeros at the start are a run", Cat({Repeat(0, 4), test::Text("xyzw")}), {0x00, 0x94, 0x04, 'x', 'y', 'z', 'w'}},
        {"600 bytes cut at 255", Cat({Repeat(0x61, 600), Repeat(0x62, 10)}),
         {0x61, 0x94, 0xFF, 0x61, 0x94, 0xFF, 0x61, 0x94, 0x5A, 0x62, 0x94, 0x0A}},
        {"escape bytes are never runs", Cat({Repeat(0x94, 3), Repeat(0x41, 7)}),
         {0x94, 0x00, 0x94, 0x00, 0x94, 0x00, 0x41, 0x94, 0x07}},
        {"run ended by an escape", Cat({Repeat(0x41, 5), {0x94}, Repeat(0x42, 5)}),
         {0x41, 0x94, 0x05, 0x94, 0x00, 0x42, 0x94, 0x05}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::Encode(kMethodRle, c.plain), c.coded) << c.what;
        EXPECT_EQ(test::Decode(kMethodRle, c.coded, 0), c.plain) << c.what;
    }
}

TEST(Rle, ExpanderAcceptsWhatTheCompressorNeverWrites) {
    struct Case {
        const char* what;
        Bytes coded;
        Bytes plain;
    };
    const std::vector<Case> cases = {
        {"count 1 adds nothing", {0x41, 0x94, 0x01, 0x42}, {0x41, 0x42}},
        {"count 2 adds one copy", {0x41, 0x94, 0x02}, {0x41, 0x41}},
        {"escape at the very end is a literal", {0x41, 0x94}, {0x41, 0x94}},
        {"run before any literal repeats byte 0", {0x94, 0x03}, {0x00, 0x00}},
    };
    for (const auto& c : cases) EXPECT_EQ(test::Decode(kMethodRle, c.coded, 0), c.plain) << c.what;
}

TEST(Rle, RoundTripsVariedInput) {
    std::mt19937 rng(7);
    for (size_t size : {1u, 2u, 255u, 256u, 8191u, 8192u, 8193u, 70000u}) {
        Bytes plain(size);
        // Mix runs of every length with escape bytes and noise.
        for (size_t i = 0; i < size;) {
            const uint8_t b = rng() % 50 == 0 ? 0x94 : static_cast<uint8_t>(rng() % 3);
            size_t run = 1 + rng() % 300;
            for (; run > 0 && i < size; --run) plain[i++] = b;
        }
        Bytes coded;
        try {
            coded = test::Encode(kMethodRle, plain);
        } catch (const EUnableToCompress&) {
            continue;  // growth is allowed to fail; nothing to round-trip
        }
        EXPECT_EQ(test::Decode(kMethodRle, coded, 0), plain) << size;
    }
}

}  // namespace
}  // namespace kelp
