// The zarc command line: list, test and extract as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ArchiveFixture.h"
#include "support/RunProgram.h"

namespace kelp {
namespace {

namespace fsys = std::filesystem;
using test::Bytes;
using test::FixtureEntry;

test::ProgramResult Zarc(const std::vector<std::string>& args) { return test::RunProgram(ZARC_EXE, args); }

struct ArchiveOnDisk {
    test::TempDir dir;
    std::string path;
    explicit ArchiveOnDisk(const Bytes& bytes) : path((dir.Path() / "test.zarc").string()) {
        test::WriteFile(path, bytes);
    }
};

const Bytes kReadme = test::Text("Read me first.\r\n");

std::vector<FixtureEntry> Sample() {
    return {{.name = "README.TXT", .plain = kReadme, .dateTime = 0x26FA3F44},
            {.name = "docs\\guide.txt", .plain = Bytes(3000, 'g'), .method = 1}};
}

TEST(ZarcCli, HelpAndUsageErrors) {
    for (const char* cmd : {"list", "test", "extract", "create"}) {
        const auto r = Zarc({cmd, "--help"});
        EXPECT_EQ(r.status, 0) << cmd;
        EXPECT_NE(r.out.find(std::string("usage: zarc ") + cmd), std::string::npos) << cmd;
    }
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, "usage: zarc"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"list"}, "expected one ARCHIVE"},
        {{"list", "a", "b"}, "expected one ARCHIVE"},
        {{"list", "--bogus", "a"}, "unknown option --bogus"},
        {{"test", "a", "--key"}, "option --key needs a value"},
        {{"test", "a", "--key", "12x"}, "invalid key '12x'"},
        {{"extract"}, "expected ARCHIVE"},
    };
    for (const auto& c : cases) {
        const auto r = Zarc(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST(ZarcCli, ListShowsEveryField) {
    ArchiveOnDisk a(test::BuildArchive(Sample()));
    const auto r = Zarc({"list", a.path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("README.TXT"), std::string::npos);
    EXPECT_NE(r.out.find("1999-07-26 07:58:08"), std::string::npos);
    EXPECT_NE(r.out.find("docs\\guide.txt"), std::string::npos);
    EXPECT_NE(r.out.find("RLE"), std::string::npos);

    const auto j = Zarc({"list", "--json", a.path});
    EXPECT_EQ(j.status, 0);
    for (const char* field : {"\"MethodId\": \"NON\"", "\"TotalSize\": 3016", "\"ArchiveType\": 1", "\"KeyFlag\": 0",
                              "\"entries\": [", "\"Name\": \"docs\\\\guide.txt\"", "\"UncompressedSize\": 3000",
                              "\"Method\": 1", "\"Lock\": 0", "\"HeaderOffset\": 21", "\"DateTime\": 653934404"})
        EXPECT_NE(j.out.find(field), std::string::npos) << field << "\n" << j.out;
}

TEST(ZarcCli, ArchiveErrorsCarryTheArchiveName) {
    Bytes bad = test::BuildArchive(Sample());
    bad[12] = 2;
    ArchiveOnDisk a(bad);
    for (const char* cmd : {"list", "test", "extract"}) {
        const auto r = Zarc({cmd, a.path});
        EXPECT_EQ(r.status, 1) << cmd;
        EXPECT_EQ(r.err, "zarc: " + a.path + ": Archive type must be caMulti\n") << cmd;
    }
    const auto missing = Zarc({"list", "/nonexistent/x.zarc"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos);
}

TEST(ZarcCli, TestReportsEachEntry) {
    const int32_t key = 4242;
    auto entries = Sample();
    entries[1].checksum = 12345;
    entries.push_back({.name = "locked.bin", .plain = kReadme, .lock = 2, .key = key});
    ArchiveOnDisk a(test::BuildArchive(entries));
    const auto r = Zarc({"test", a.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "README.TXT: OK\n"
              "docs\\guide.txt: Bad checksum during expansion -- data may be invalid\n"
              "locked.bin: File locked -- valid key required\n");
    const auto keyed = Zarc({"test", "--key", "4242", a.path});
    EXPECT_NE(keyed.out.find("locked.bin: OK"), std::string::npos);
    const auto hexKey = Zarc({"test", "--key=0x1092", a.path});
    EXPECT_NE(hexKey.out.find("locked.bin: OK"), std::string::npos);

    ArchiveOnDisk good(test::BuildArchive(Sample()));
    EXPECT_EQ(Zarc({"test", good.path}).status, 0);
}

TEST(ZarcCli, ExtractSelectsByNameIgnoringCase) {
    ArchiveOnDisk a(test::BuildArchive(Sample()));
    test::TempDir out;
    const auto r = Zarc({"extract", a.path, "-C", out.Path().string(), "DOCS\\GUIDE.TXT"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadFile(out.Path() / "docs" / "guide.txt"), Bytes(3000, 'g'));
    EXPECT_FALSE(fsys::exists(out.Path() / "README.TXT"));

    const auto all = Zarc({"extract", a.path, "-C", out.Path().string()});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(test::ReadFile(out.Path() / "README.TXT"), kReadme);

    const auto unknown = Zarc({"extract", a.path, "-C", out.Path().string(), "nothere"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("nothere: no such entry"), std::string::npos);
}

TEST(ZarcCli, ExtractRefusesPathsThatLeaveTheDirectory) {
    test::TempDir outside;
    std::string rooted = outside.Target() + "rooted.txt";
    const std::vector<std::string> unsafe = {"..\\escape.txt", "a\\..\\..\\escape.txt", "../slash.txt", rooted,
                                             "C:\\drive.txt"};
    for (const auto& name : unsafe) {
        ArchiveOnDisk a(test::BuildArchive({{.name = name, .plain = kReadme}, {.name = "fine.txt", .plain = kReadme}}));
        test::TempDir out;
        const auto work = out.Path() / "work";
        fsys::create_directory(work);
        const auto r = Zarc({"extract", a.path, "-C", work.string()});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(": refused, "), std::string::npos) << r.err;
        EXPECT_FALSE(fsys::exists(out.Path() / "escape.txt")) << name;
        EXPECT_FALSE(fsys::exists(out.Path() / "slash.txt")) << name;
        EXPECT_FALSE(fsys::exists(outside.Path() / "rooted.txt")) << name;
        EXPECT_TRUE(fsys::exists(work / "fine.txt")) << "safe entries are still written";
    }
    ArchiveOnDisk a(test::BuildArchive({{.name = rooted, .plain = kReadme}}));
    test::TempDir out;
    const auto r = Zarc({"extract", a.path, "-C", out.Path().string(), "--allow-unsafe-paths"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadFile(outside.Path() / "rooted.txt"), kReadme);
}

TEST(ZarcCli, ExtractFailureNamesTheEntry) {
    auto entries = Sample();
    entries[1].checksum = 1;
    ArchiveOnDisk a(test::BuildArchive(entries));
    test::TempDir out;
    const auto r = Zarc({"extract", a.path, "-C", out.Path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zarc: " + a.path + ": docs\\guide.txt: Bad checksum during expansion -- data may be invalid\n");
}

}  // namespace
}  // namespace kelp
