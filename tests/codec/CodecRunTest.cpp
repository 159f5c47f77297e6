// The codec run: byte source and sink, checksums, progress, cancelling, scrambling.
#include <gtest/gtest.h>

#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"

namespace kelp {
namespace {

using test::Bytes;

struct RunResult {
    int32_t returned = 0;
    uint32_t checksum = 0xDEADBEEF;
    Bytes out;
    std::vector<int32_t> progress;
    int64_t sourcePosition = 0;
};

// Runs one expansion over `input` placed after `lead` bytes, reporting progress.
RunResult Expand(uint8_t method, const Bytes& input, int32_t destSize, int32_t key = 0, bool scrambled = false,
                 std::function<void(int32_t&, int)> cancelAt = nullptr, size_t lead = 0, size_t trail = 0) {
    RunResult r;
    Bytes framed(lead, 0xAA);
    framed.insert(framed.end(), input.begin(), input.end());
    framed.insert(framed.end(), trail, 0xBB);
    MemoryStream src(framed), dst;
    src.SetPosition(static_cast<int64_t>(lead));
    TCodecState st;
    int call = 0;
    TShowProgressEvent handler = [&](int32_t& p) {
        r.progress.push_back(p);
        if (cancelAt) cancelAt(p, call);
        ++call;
    };
    r.returned = ProcessStream(st, dst, src, static_cast<int32_t>(input.size()), destSize, method, r.checksum,
                               kExpand, scrambled, handler, key);
    r.out = dst.Bytes();
    r.sourcePosition = src.Position() - static_cast<int64_t>(lead);
    return r;
}

TEST(CodecRun, StoredCopyReturnsCountPlusOneAndSum) {
    const Bytes abc = test::Text("abc");
    RunResult r = Expand(kMethodNone, abc, 3);
    EXPECT_EQ(r.out, abc);
    EXPECT_EQ(r.checksum, 294u);
    EXPECT_EQ(r.returned, 4);
    EXPECT_EQ(r.progress, (std::vector<int32_t>{0, 100, 100}));
}

TEST(CodecRun, ChecksumWrapsAt32Bits) {
    // 16,843,009 bytes of 0xFF sum to 0xFFFFFFFF; one more wraps to 0xFE.
    for (auto [count, expected] : {std::pair<size_t, uint32_t>{16843009, 0xFFFFFFFFu}, {16843010, 0xFEu}}) {
        Bytes data(count, 0xFF);
        RunResult r = Expand(kMethodNone, data, 0);
        EXPECT_EQ(r.checksum, expected) << count;
        EXPECT_EQ(r.out.size(), count);
    }
}

TEST(CodecRun, ProgressPercentagesFollowBlocks) {
    struct Case {
        size_t size;
        std::vector<int32_t> expected;
    };
    // 20,000 bytes: blocks of 8192, 8192, 3616.
    const std::vector<Case> cases = {
        {20000, {0, 40, 81, 100, 100}},
        {8192, {0, 100, 100}},
        // above 100,000 the percentage is done div (total div 100)
        {100001, {}},
    };
    for (const auto& c : cases) {
        RunResult r = Expand(kMethodNone, Bytes(c.size, 1), 0);
        if (!c.expected.empty()) {
            EXPECT_EQ(r.progress, c.expected) << c.size;
            continue;
        }
        std::vector<int32_t> expected{0};
        for (int64_t done = 8192;; done += 8192) {
            if (done > static_cast<int64_t>(c.size)) done = static_cast<int64_t>(c.size);
            expected.push_back(static_cast<int32_t>(done / (static_cast<int64_t>(c.size) / 100)));
            if (done == static_cast<int64_t>(c.size)) break;
        }
        expected.push_back(100);
        EXPECT_EQ(r.progress, expected) << c.size;
    }
}

TEST(CodecRun, CancelAtStartTouchesNothing) {
    RunResult r = Expand(kMethodNone, test::Text("abc"), 3, 0, false, [](int32_t& p, int call) {
        if (call == 0) p = -1;
    });
    EXPECT_EQ(r.returned, 0);
    EXPECT_EQ(r.checksum, 0xDEADBEEFu) << "checksum must stay unassigned";
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.sourcePosition, 0);
    EXPECT_EQ(r.progress.size(), 1u);
}

TEST(CodecRun, CancelAfterARefillEndsStoredCopy) {
    // Cancelled after the first block: the stored copy stops at the end-of-input flag.
    RunResult r = Expand(kMethodNone, Bytes(20000, 7), 0, 0, false, [](int32_t& p, int call) {
        if (call == 1) p = -1;
    });
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.progress, (std::vector<int32_t>{0, 40, 100})) << "the closing call still comes after a normal end";
}

TEST(CodecRun, ScramblingUsesKeyBytesLeastSignificantFirst) {
    const int32_t key = 0x04030201;
    const Bytes plain = test::Text("ABCDEFGH");
    Bytes stored = plain;
    for (size_t i = 0; i < stored.size(); ++i) stored[i] ^= static_cast<uint8_t>(1 + i % 4);
    RunResult r = Expand(kMethodNone, stored, 8, key, true);
    EXPECT_EQ(r.out, plain);

    RunResult notScrambled = Expand(kMethodNone, plain, 8, key, false);
    EXPECT_EQ(notScrambled.out, plain) << "a key without the scrambled flag changes nothing";

    // Compressing with a key scrambles the sink, restarting at k0 for every run.
    for (int run = 0; run < 2; ++run) {
        TCodecState st;
        MemoryStream src(plain), dst;
        uint32_t sum = 0;
        ProcessStream(st, dst, src, 8, 0, kMethodNone, sum, kCompress, false, nullptr, key);
        EXPECT_EQ(dst.Bytes(), stored);
        EXPECT_EQ(sum, 0x41u + 0x42 + 0x43 + 0x44 + 0x45 + 0x46 + 0x47 + 0x48) << "sum of the plain input";
    }
}

TEST(CodecRun, ShortSourceEndsStoredCopyQuietly) {
    // SourceSize beyond the stream: the source takes what it gets.
    Bytes data = test::Text("hello");
    MemoryStream src(data), dst;
    TCodecState st;
    uint32_t sum = 0;
    EXPECT_EQ(ProcessStream(st, dst, src, 1000, 0, kMethodNone, sum, kExpand, false, nullptr, 0), 6);
    EXPECT_EQ(dst.Bytes(), data);
}

TEST(CodecRun, UnknownAndCustomMethodsRunNothing) {
    for (uint8_t method : {uint8_t{3}, uint8_t{5}, uint8_t{255}}) {
        RunResult r = Expand(method, test::Text("abc"), 3);
        EXPECT_TRUE(r.out.empty()) << int(method);
        EXPECT_EQ(r.checksum, 0u);
        EXPECT_EQ(r.returned, 1);
    }
}

TEST(CodecRun, CompressBudgetIsTheInputSize) {
    // RLE of a single escape byte needs two bytes: more than its input.
    TCodecState st;
    MemoryStream src(Bytes{0x94}), dst;
    uint32_t sum = 0;
    try {
        ProcessStream(st, dst, src, 1, 0, kMethodRle, sum, kCompress, false, nullptr, 0);
        FAIL() << "expected EUnableToCompress";
    } catch (const EUnableToCompress& e) {
        EXPECT_STREQ(e.what(), "Could not compress data, will store instead");
    }
    EXPECT_TRUE(st.InBuffer == nullptr && st.OutBuffer == nullptr) << "buffers are released when a run fails";
}

// A destination that accepts only so many bytes, like a full disk.
class FullDisk : public MemoryStream {
public:
    explicit FullDisk(int32_t room) : room_(room) {}
    int32_t Write(const void* b, int32_t n) override {
        const int32_t take = std::min(n, room_);
        room_ -= take;
        return MemoryStream::Write(b, take);
    }

private:
    int32_t room_;
};

TEST(CodecRun, ShortWriteRaisesWriteError) {
    Bytes data(20000, 1);
    MemoryStream src(data);
    FullDisk dst(10000);
    TCodecState st;
    uint32_t sum = 0;
    EXPECT_THROW(ProcessStream(st, dst, src, 20000, 0, kMethodNone, sum, kExpand, false, nullptr, 0), EWriteError);
    EXPECT_EQ(dst.Bytes().size(), 10000u);
}

}  // namespace
}  // namespace kelp
