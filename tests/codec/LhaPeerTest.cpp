// Our LH5 and LZH streams, wrapped as -lh5- and -lh1- members, must be restored by
// an independent LHA implementation (Debian's lhasa).
#include <gtest/gtest.h>

#include <string>

#include "archive/codec/ProcessStream.h"
#include "support/ArchiveFixture.h"
#include "support/CodecHarness.h"
#include "support/LhaWrap.h"
#include "support/RunProgram.h"

namespace kelp {
namespace {

using test::Bytes;

bool HaveLhasa() {
    static const bool found = test::RunProgram("/bin/sh", {"-c", "command -v lhasa"}).status == 0;
    return found;
}

struct PeerCase {
    const char* name;
    Bytes (*make)();
};
void PrintTo(const PeerCase& c, std::ostream* os) { *os << c.name; }

Bytes OneByte() { return Bytes{'K'}; }
Bytes Short() { return test::SampleText(100); }
Bytes Text() { return test::SampleText(50000); }
Bytes Code() { return test::SampleCode(70000); }
Bytes Runs() { return test::SampleRuns(40000); }
Bytes Random() { return test::SampleRandom(30000, 11); }
// Many LH5 blocks and dictionary refills; many LZH model rebuilds.
Bytes Large() {
    Bytes b = test::SampleCode(200000);
    const Bytes t = test::SampleText(200000);
    b.insert(b.end(), t.begin(), t.end());
    return b;
}

const PeerCase kCases[] = {{"OneByte", OneByte}, {"Short", Short}, {"Text", Text},    {"Code", Code},
                           {"Runs", Runs},       {"Random", Random}, {"Large", Large}};

struct Codec {
    const char* lhaMethod;
    void (*compress)(TCodecState&);
};

class LhaPeer : public ::testing::TestWithParam<PeerCase> {
protected:
    // Writes the member at header level 0 and 2 and has lhasa test and print it.
    void ExpectRestored(const Codec& codec) {
        if (!HaveLhasa()) GTEST_SKIP() << "lhasa is not installed";
        const Bytes plain = GetParam().make();
        const Bytes coded = test::CompressUnbounded(codec.compress, plain);
        for (int level : {0, 2}) {
            SCOPED_TRACE(std::string(codec.lhaMethod) + " level " + std::to_string(level));
            test::TempDir dir;
            const auto path = dir.Path() / "peer.lzh";
            test::WriteFile(path, test::WrapLhaMember(codec.lhaMethod, coded, plain, level));
            const auto tested = test::RunProgram("lhasa", {"t", path.string()});
            EXPECT_EQ(tested.status, 0) << tested.out << tested.err;
            const auto printed = test::RunProgram("lhasa", {"pq", path.string()});
            ASSERT_EQ(printed.status, 0) << printed.err;
            ASSERT_EQ(printed.out.size(), plain.size());
            EXPECT_TRUE(Bytes(printed.out.begin(), printed.out.end()) == plain);
        }
    }
};

TEST_P(LhaPeer, RestoresOurLh5StreamAsLh5Member) { ExpectRestored({"-lh5-", CompressLh5}); }
TEST_P(LhaPeer, RestoresOurLzhStreamAsLh1Member) { ExpectRestored({"-lh1-", CompressLzh}); }

INSTANTIATE_TEST_SUITE_P(Samples, LhaPeer, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The wrapper itself: a damaged CRC must make lhasa complain, or the checks above
// would prove nothing.
TEST(LhaPeerWrapper, LhasaNoticesAWrongCrc) {
    if (!HaveLhasa()) GTEST_SKIP() << "lhasa is not installed";
    const Bytes plain = test::SampleText(5000);
    const Bytes coded = test::CompressUnbounded(CompressLh5, plain);
    Bytes other = plain;
    other[100] ^= 1;
    test::TempDir dir;
    const auto path = dir.Path() / "bad.lzh";
    test::WriteFile(path, test::WrapLhaMember("-lh5-", coded, other, 0));
    const auto tested = test::RunProgram("lhasa", {"t", path.string()});
    EXPECT_TRUE(tested.status != 0 || tested.out.find("CRC") != std::string::npos ||
                tested.err.find("CRC") != std::string::npos)
        << tested.out << tested.err;
}

TEST(LhaPeerWrapper, Crc16ArcOfAKnownString) {
    // The CRC-16/ARC check value of "123456789".
    EXPECT_EQ(test::Crc16Arc(test::Text("123456789")), 0xBB3D);
}

}  // namespace
}  // namespace kelp
