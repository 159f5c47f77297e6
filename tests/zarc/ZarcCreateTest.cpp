// zarc create as a user runs it: names, methods, keys, attributes, times and the
// guarantee that a failed run leaves no half-written archive behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "archive/Archiver.h"
#include "archive/FileSystem.h"
#include "archive/Format.h"
#include "archive/codec/Methods.h"
#include "support/ArchiveFixture.h"
#include "support/CodecHarness.h"
#include "support/RunProgram.h"

namespace kelp {
namespace {

namespace fsys = std::filesystem;
using test::Bytes;

test::ProgramResult Zarc(const std::vector<std::string>& args, const std::string& cwd = "") {
    return test::RunProgram(ZARC_EXE, args, cwd);
}

struct Listed {
    std::string name;
    EntryHeader header;
};

std::vector<Listed> Entries(const fsys::path& archive, ArchiveHeader* headerOut = nullptr) {
    MemoryStream s(test::ReadFile(archive));
    std::string id;
    const ArchiveHeader h = ReadArchiveHeader(s, id, nullptr);
    if (headerOut) *headerOut = h;
    std::vector<Listed> out;
    Listed e;
    while (ReadEntryHeader(s, e.header, e.name)) {
        out.push_back(e);
        s.Seek(e.header.CompressedSize, SeekOrigin::Current);
    }
    return out;
}

// A small tree: src/a.txt, src/sub/b.bin, src/sub/deeper/c.dat, and a lone file.
struct Tree {
    test::TempDir dir;
    fsys::path src;
    Bytes a = test::SampleText(30000), b = test::SampleCode(20000), c = test::SampleRandom(5000, 2),
          lone = test::Text("lone file\n");
    Tree() : src(dir.Path() / "src") {
        fsys::create_directories(src / "sub" / "deeper");
        test::WriteFile(src / "a.txt", a);
        test::WriteFile(src / "sub" / "b.bin", b);
        test::WriteFile(src / "sub" / "deeper" / "c.dat", c);
        test::WriteFile(dir.Path() / "lone.txt", lone);
    }
    std::string Archive() const { return (dir.Path() / "out.zarc").string(); }
};

struct MethodCase {
    const char* option;
    std::string headerId;
    std::vector<uint8_t> allowed;
};
void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.option; }

class ZarcCreateMethod : public ::testing::TestWithParam<MethodCase> {};

TEST_P(ZarcCreateMethod, NamesAreRelativeToTheArgumentAndExtractRestoresTheFiles) {
    Tree t;
    const auto r = Zarc({"create", t.Archive(), "-m", GetParam().option, t.src.string(),
                         (t.dir.Path() / "lone.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(r.err.empty()) << "no progress drawn when stderr is not a terminal: " << r.err;

    ArchiveHeader header;
    const auto entries = Entries(t.Archive(), &header);
    EXPECT_EQ(header.MethodIdString(), GetParam().headerId);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "sub\\b.bin", "sub\\deeper\\c.dat", "lone.txt"}));
    for (const auto& e : entries) {
        const bool allowed = e.header.Method == kMethodNone ||
                             std::find(GetParam().allowed.begin(), GetParam().allowed.end(), e.header.Method) !=
                                 GetParam().allowed.end();
        EXPECT_TRUE(allowed) << e.name << " method " << int(e.header.Method);
        EXPECT_EQ(e.header.Lock, 0);
        EXPECT_EQ(e.header.Attributes, 0x20);
    }
    EXPECT_EQ(entries[2].header.Method, kMethodNone) << "random bytes are stored";

    const fsys::path out = t.dir.Path() / "x";
    fsys::create_directories(out);
    const auto x = Zarc({"extract", t.Archive(), "-C", out.string()});
    ASSERT_EQ(x.status, 0) << x.err;
    EXPECT_TRUE(test::ReadFile(out / "a.txt") == t.a);
    EXPECT_TRUE(test::ReadFile(out / "sub" / "b.bin") == t.b);
    EXPECT_TRUE(test::ReadFile(out / "sub" / "deeper" / "c.dat") == t.c);
    EXPECT_TRUE(test::ReadFile(out / "lone.txt") == t.lone);
}

INSTANTIATE_TEST_SUITE_P(Options, ZarcCreateMethod,
                         ::testing::Values(MethodCase{"non", "NON", {}}, MethodCase{"rle", "RLE", {kMethodRle}},
                                           MethodCase{"lzh", "LZH", {kMethodLzh}}, MethodCase{"LH5", "LH5", {kMethodLh5}},
                                           MethodCase{"best", "LZH", {kMethodRle, kMethodLzh, kMethodLh5}}),
                         [](const auto& info) { return std::string(info.param.option); });

TEST(ZarcCreate, DefaultMethodIsLzh) {
    Tree t;
    ASSERT_EQ(Zarc({"create", t.Archive(), (t.src / "a.txt").string()}).status, 0);
    const auto entries = Entries(t.Archive());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].header.Method, kMethodLzh);
}

TEST(ZarcCreate, KeyLocksScramblesAndTestsOnlyWithTheKey) {
    Tree t;
    ASSERT_EQ(Zarc({"create", t.Archive(), "--key", "0x1234ABCD", t.src.string()}).status, 0);
    ArchiveHeader header;
    const auto entries = Entries(t.Archive(), &header);
    EXPECT_EQ(header.KeyFlag, 2);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0].header.Lock, 2);
    EXPECT_EQ(entries[0].header.Checksum, test::ByteSumOf(t.a) + 0x1234ABCDu);
    EXPECT_EQ(Zarc({"test", t.Archive(), "--key", "0x1234ABCD"}).status, 0);
    EXPECT_NE(Zarc({"test", t.Archive()}).status, 0);
}

TEST(ZarcCreate, ReadOnlyAttributeAndModificationTime) {
    Tree t;
    const fsys::path file = t.src / "a.txt";
    fsys::last_write_time(file, fsys::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    ::chmod(file.c_str(), 0444);
    ASSERT_EQ(Zarc({"create", t.Archive(), file.string()}).status, 0);
    ::chmod(file.c_str(), 0644);
    const auto entries = Entries(t.Archive());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].header.Attributes, 0x21);
    EXPECT_EQ(entries[0].header.DateTime, fs::GetFileDosTime(file.string()));
    EXPECT_NE(entries[0].header.DateTime, 0u);
}

TEST(ZarcCreate, RelativeArgumentsFromTheWorkingDirectory) {
    Tree t;
    const auto r = Zarc({"create", "out.zarc", "src/sub"}, t.dir.Path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (const auto& e : Entries(t.Archive())) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"b.bin", "deeper\\c.dat"}));
}

TEST(ZarcCreate, TheArchiveInsideAnInputDirectoryIsLeftOut) {
    Tree t;
    const std::string inside = (t.src / "self.zarc").string();
    ASSERT_EQ(Zarc({"create", inside, t.src.string()}).status, 0);
    ASSERT_EQ(Zarc({"create", inside, t.src.string()}).status, 0);  // now it exists
    for (const auto& e : Entries(inside)) EXPECT_EQ(e.name.find("self.zarc"), std::string::npos);
    for (const auto& e : fsys::directory_iterator(t.src))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

struct Failure {
    const char* name;
    std::vector<std::string> args;  // "%A" is the archive, "%D" the tree's directory
    int status;
    std::string message;
};
void PrintTo(const Failure& f, std::ostream* os) { *os << f.name; }

class ZarcCreateFails : public ::testing::TestWithParam<Failure> {};

// A failed run reports why, and the archive name keeps what it held before.
TEST_P(ZarcCreateFails, WithAMessageAndWithoutTouchingTheArchive) {
    Tree t;
    const Bytes before = test::Text("previous archive");
    test::WriteFile(t.Archive(), before);
    std::vector<std::string> args;
    for (std::string a : GetParam().args) {
        if (a == "%A") a = t.Archive();
        if (a.rfind("%D", 0) == 0) a = t.dir.Path().string() + a.substr(2);
        args.push_back(a);
    }
    const auto r = Zarc(args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("zarc: ", 0), 0u) << r.err;
    EXPECT_TRUE(test::ReadFile(t.Archive()) == before);
    for (const auto& e : fsys::directory_iterator(t.dir.Path()))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZarcCreateFails,
    ::testing::Values(
        Failure{"NoInputs", {"create", "%A"}, 2, "at least one file"},
        Failure{"UnknownMethod", {"create", "%A", "-m", "zip", "%D/src"}, 2, "unknown method 'zip'"},
        Failure{"BadKey", {"create", "%A", "--key", "seven", "%D/src"}, 2, "invalid key"},
        Failure{"MissingInput", {"create", "%A", "%D/src", "%D/nothing-here"}, 1, "nothing-here: No such file"},
        Failure{"DuplicateName", {"create", "%A", "%D/src/a.txt", "%D/src"}, 1, "already taken"},
        Failure{"UnwritableTarget", {"create", "%D/no/such/dir/out.zarc", "%D/src"}, 1, "zarc: "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelp
