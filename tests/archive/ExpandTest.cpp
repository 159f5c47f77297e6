// Expanding archives to files: selection, the file-check event, cut-off, keys,
// directories, checksums and the errors of the component.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "archive/Archiver.h"
#include "support/ArchiveFixture.h"

namespace kelp {
namespace {

namespace fsys = std::filesystem;
using test::Bytes;
using test::FixtureEntry;

const Bytes kA = test::Text("alpha"), kB = test::Text("bravo!"), kC = test::Text("charlie"), kD = test::Text("d");

std::vector<FixtureEntry> FourFiles() {
    return {{.name = "a.txt", .plain = kA},
            {.name = "b.txt", .plain = kB, .method = 1},
            {.name = "sub\\c.txt", .plain = kC},
            {.name = "d.txt", .plain = kD}};
}

struct Expansion {
    test::TempDir dir;
    TArchiver archiver;
    Expansion() {
        archiver.SetTargetPath(dir.Target());
        archiver.MakeDirectories = true;
    }
    // Expands; returns the files now in the directory, relative, sorted.
    std::vector<std::string> Run(const Bytes& archive, TStringList* list) {
        MemoryStream s(archive);
        archiver.ExpandArchiveEntries(s, list);
        return Files();
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> out;
        for (auto& e : fsys::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file()) out.push_back(fsys::relative(e.path(), dir.Path()).string());
        std::sort(out.begin(), out.end());
        return out;
    }
    Bytes Read(const std::string& rel) const { return test::ReadFile(dir.Path() / rel); }
};

TStringList Lines(std::initializer_list<const char*> lines) {
    TStringList l;
    for (auto* s : lines) l.Add(s);
    return l;
}

TEST(Expand, SelectionByListIgnoresCaseAndDuplicates) {
    struct Case {
        const char* what;
        std::optional<std::vector<const char*>> list;
        std::vector<std::string> files;
    };
    const std::vector<Case> cases = {
        {"no list: everything", std::nullopt, {"a.txt", "b.txt", "d.txt", "sub/c.txt"}},
        {"empty list: nothing", std::vector<const char*>{}, {}},
        {"case-insensitive, twice, unknown", std::vector<const char*>{"B.TXT", "b.txt", "SUB\\C.txt", "nope"},
         {"b.txt", "sub/c.txt"}},
    };
    for (const auto& c : cases) {
        Expansion x;
        TStringList list;
        if (c.list)
            for (auto* s : *c.list) list.Add(s);
        EXPECT_EQ(x.Run(test::BuildArchive(FourFiles()), c.list ? &list : nullptr), c.files) << c.what;
        if (c.list) {
            // The list now holds the full paths written, in archive order.
            ASSERT_EQ(list.Count(), c.files.size()) << c.what;
            for (size_t i = 0; i < list.Count(); ++i) {
                std::string expected = x.dir.Target() + c.files[i];
                std::replace(expected.begin(), expected.end(), '/', '\\');
                EXPECT_EQ(list[i], expected);
                EXPECT_EQ(list.begin()[i].Object, nullptr);
            }
        }
    }
    Expansion x;
    x.Run(test::BuildArchive(FourFiles()), nullptr);
    EXPECT_EQ(x.Read("b.txt"), kB);
    EXPECT_EQ(x.Read("sub/c.txt"), kC);
}

TEST(Expand, TotalSizeCutsTheWalkButNotTheListing) {
    struct Case {
        int32_t total;
        std::vector<std::string> files;
    };
    // Sizes 5, 6, 7, 1: the walk stops once the running total reaches TotalSize.
    const std::vector<Case> cases = {{0, {}}, {5, {"a.txt"}}, {6, {"a.txt", "b.txt"}}, {11, {"a.txt", "b.txt"}},
                                     {12, {"a.txt", "b.txt", "sub/c.txt"}}, {100, {"a.txt", "b.txt", "d.txt", "sub/c.txt"}}};
    for (const auto& c : cases) {
        const Bytes archive = test::BuildArchive(FourFiles(), "NON", c.total);
        Expansion x;
        EXPECT_EQ(x.Run(archive, nullptr), c.files) << c.total;
        MemoryStream s(archive);
        TStringList listed;
        x.archiver.ListArchiveEntries(s, listed);
        EXPECT_EQ(listed.Count(), 4u);
    }
    // Empty files never reach the total, so those at the end are still written.
    {
        Expansion x;
        const Bytes archive = test::BuildArchive(
            {{.name = "full", .plain = kA}, {.name = "empty1", .plain = {}}, {.name = "empty2", .plain = {}}});
        EXPECT_EQ(x.Run(archive, nullptr), (std::vector<std::string>{"empty1", "empty2", "full"}));
        Expansion onlyEmpty;
        EXPECT_EQ(onlyEmpty.Run(test::BuildArchive({{.name = "e", .plain = {}}}), nullptr),
                  (std::vector<std::string>{"e"}));
    }
    // Passed-over entries count toward the total too.
    Expansion x;
    TStringList only = Lines({"d.txt"});
    EXPECT_TRUE(x.Run(test::BuildArchive(FourFiles(), "NON", 18), &only).empty());
}

TEST(Expand, CheckFileEventRedirectsSkipsAndStops) {
    test::TempDir elsewhere;
    struct Case {
        const char* what;
        std::function<void(std::string&, int)> check;
        std::vector<std::string> files;
        size_t listed;
    };
    const std::vector<Case> cases = {
        {"'*' on the third entry stops the walk", [](std::string& p, int n) { if (n == 2) p = "*"; },
         {"a.txt", "b.txt"}, 2},
        {"an empty path skips the entry", [](std::string& p, int n) { if (n == 1) p.clear(); },
         {"a.txt", "d.txt", "sub/c.txt"}, 3},
        {"a new path is used", [&](std::string& p, int n) { if (n == 0) p = elsewhere.Target() + "new\\moved.txt"; },
         {"b.txt", "d.txt", "sub/c.txt"}, 4},
    };
    for (const auto& c : cases) {
        Expansion x;
        int n = 0;
        x.archiver.OnCheckFile = [&](std::string& path, TCProcessMode mode) {
            EXPECT_EQ(mode, cmExpand);
            c.check(path, n++);
        };
        TStringList list = Lines({"a.txt", "b.txt", "sub\\c.txt", "d.txt"});
        EXPECT_EQ(x.Run(test::BuildArchive(FourFiles()), &list), c.files) << c.what;
        EXPECT_EQ(list.Count(), c.listed) << c.what;
    }
    EXPECT_EQ(test::ReadFile(elsewhere.Path() / "new" / "moved.txt"), kA) << "directories made for the new path";
}

TEST(Expand, RootedNamesIgnoreTheTarget) {
    test::TempDir rootedDir;
    const std::string rooted = rootedDir.Target() + "rooted.txt";
    ASSERT_EQ(rooted[0], '\\');
    Expansion x;
    x.Run(test::BuildArchive({{.name = rooted, .plain = kA}, {.name = "plain.txt", .plain = kB}}), nullptr);
    EXPECT_EQ(test::ReadFile(rootedDir.Path() / "rooted.txt"), kA);
    EXPECT_EQ(x.Files(), (std::vector<std::string>{"plain.txt"}));
}

TEST(Expand, MissingDirectories) {
    const Bytes archive = test::BuildArchive({{.name = "one\\two\\deep.txt", .plain = kA}, {.name = "top.txt", .plain = kB}});
    {
        Expansion x;
        EXPECT_EQ(x.Run(archive, nullptr), (std::vector<std::string>{"one/two/deep.txt", "top.txt"}));
    }
    {
        Expansion x;
        x.archiver.MakeDirectories = false;
        EXPECT_EQ(x.Run(archive, nullptr), (std::vector<std::string>{"top.txt"})) << "skipped silently";
    }
    {
        Expansion x;
        x.archiver.MakeDirectories = false;
        x.archiver.ExceptionOnFileError = true;
        try {
            x.Run(archive, nullptr);
            FAIL() << "expected EFCreateError";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file " + x.dir.Target() + "one\\two\\deep.txt");
        }
    }
}

TEST(Expand, TargetPathSetterAddsOneBackslash) {
    TArchiver a;
    for (auto [in, out] : {std::pair<std::string, std::string>{"C:\\dir", "C:\\dir\\"}, {"C:\\dir\\", "C:\\dir\\"}, {"", ""}}) {
        a.SetTargetPath(in);
        EXPECT_EQ(a.TargetPath(), out);
    }
}

TEST(Expand, KeysAndLocks) {
    const int32_t key = 0x1234ABCD;
    struct Case {
        const char* what;
        FixtureEntry entry;
        int32_t key;
        std::string error;  // empty: expands
        bool fileLeft;
    };
    const std::vector<Case> cases = {
        {"locked, no key", {.name = "f", .plain = kC, .lock = 2, .key = key}, 0, "File locked -- valid key required", false},
        {"locked, wrong key", {.name = "f", .plain = kC, .lock = 2, .key = key}, key + 1, "File locked -- valid key required", false},
        {"locked and scrambled, right key", {.name = "f", .plain = kC, .lock = 2, .key = key}, key, "", true},
        {"locked RLE, right key", {.name = "f", .plain = Bytes(300, 'r'), .method = 1, .lock = 2, .key = key}, key, "", true},
        {"lock 1: locked, not scrambled", {.name = "f", .plain = kC, .lock = 1, .key = key}, key, "", true},
        {"lock 3: locked, not scrambled", {.name = "f", .plain = kC, .lock = 3, .key = key}, key, "", true},
        {"negative lock is open", {.name = "f", .plain = kC, .lock = -5}, 77, "", true},
        {"open entry, bad sum", {.name = "f", .plain = kC, .checksum = 1}, 0,
         "Bad checksum during expansion -- data may be invalid", true},
        {"stored with checksum 0 passes", {.name = "f", .plain = kC, .checksum = 0}, 0, "", true},
        {"RLE with checksum 0 fails", {.name = "f", .plain = kC, .method = 1, .checksum = 0}, 0,
         "Bad checksum during expansion -- data may be invalid", true},
        {"method byte above 4 writes nothing", {.name = "f", .plain = kC, .method = 9, .coded = kC}, 0,
         "Bad checksum during expansion -- data may be invalid", true},
    };
    for (const auto& c : cases) {
        Expansion x;
        x.archiver.Key = c.key;
        TStringList list = Lines({"f"});
        try {
            x.Run(test::BuildArchive({c.entry}), &list);
            EXPECT_EQ(c.error, "") << c.what;
            EXPECT_EQ(x.Read("f"), c.entry.plain) << c.what;
            EXPECT_EQ(list.Count(), 1u);
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.error) << c.what;
            EXPECT_EQ(fsys::exists(x.dir.Path() / "f"), c.fileLeft) << c.what;
            EXPECT_EQ(list.Count(), 1u) << "the list is left as it was";
            EXPECT_EQ(list[0], "f");
        }
    }
}

TEST(Expand, ScramblingRestartsForEveryEntry) {
    const int32_t key = 0x44332211;
    Expansion x;
    x.archiver.Key = key;
    x.Run(test::BuildArchive({{.name = "1", .plain = kB, .lock = 2, .key = key}, {.name = "2", .plain = kC, .lock = 2, .key = key}}),
          nullptr);
    EXPECT_EQ(x.Read("1"), kB);
    EXPECT_EQ(x.Read("2"), kC);
}

TEST(Expand, FileTimeAttributesAndEmptyEntries) {
    Expansion x;
    x.Run(test::BuildArchive({{.name = "empty", .plain = {}, .dateTime = 0x26C81445},
                              {.name = "ro", .plain = kA, .attributes = 0x21}}),
          nullptr);
    struct stat st;
    ASSERT_EQ(stat((x.dir.Path() / "empty").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    struct tm t{};
    localtime_r(&st.st_mtime, &t);
    EXPECT_EQ(t.tm_year + 1900, 1999);
    EXPECT_EQ(t.tm_mon + 1, 6);
    EXPECT_EQ(t.tm_mday, 8);
    EXPECT_EQ(t.tm_hour, 2);
    EXPECT_EQ(t.tm_min, 34);
    EXPECT_EQ(t.tm_sec, 10);
    ASSERT_EQ(stat((x.dir.Path() / "ro").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0200, 0u) << "read-only attribute mapped";
    chmod((x.dir.Path() / "ro").c_str(), 0644);
}

TEST(Expand, ExistingFilesAreReplaced) {
    Expansion x;
    test::WriteFile(x.dir.Path() / "a.txt", Bytes(5000, 'z'));
    x.Run(test::BuildArchive({{.name = "a.txt", .plain = kA}}), nullptr);
    EXPECT_EQ(x.Read("a.txt"), kA);
}

TEST(Expand, CancelAtStartLeavesAnEmptyFileAndABadChecksum) {
    Expansion x;
    int calls = 0;
    x.archiver.OnShowProgress = [&](int32_t& p) {
        ++calls;
        p = -1;
    };
    EXPECT_THROW(x.Run(test::BuildArchive({{.name = "f", .plain = kC}}), nullptr), EBadChecksum);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(x.Read("f").empty());
}

TEST(Expand, CustomMethodGoesThroughTheExpandHandler) {
    Expansion x;
    std::string seenId;
    x.archiver.OnRecognize = [](const std::string&, bool& ok) { ok = true; };
    x.archiver.OnExpand = [&](Stream& dest, Stream& source, int32_t srcSize, int32_t destSize, const std::string& id,
                              uint32_t& checksum) {
        seenId = id;
        Bytes in(srcSize);
        source.ReadBuffer(in.data(), srcSize);
        std::reverse(in.begin(), in.end());
        EXPECT_EQ(destSize, static_cast<int32_t>(in.size()));
        dest.WriteBuffer(in.data(), srcSize);
        checksum = test::ByteSumOf(in);
    };
    Bytes reversed = kC;
    std::reverse(reversed.begin(), reversed.end());
    x.Run(test::BuildArchive({{.name = "c", .plain = kC, .method = 3, .coded = reversed}, {.name = "d", .plain = kD}}, "MY!"),
          nullptr);
    EXPECT_EQ(seenId, "MY!");
    EXPECT_EQ(x.Read("c"), kC);
    EXPECT_EQ(x.Read("d"), kD);
}

TEST(Expand, DiskSpaceCheck) {
    Expansion x;
    EXPECT_EQ(x.archiver.FreeSpaceFor("Z:\\anything"), 2147483647) << "no check unless asked";
    x.archiver.CheckSpaceBeforeExpand = true;
    EXPECT_GT(x.archiver.FreeSpaceFor(x.dir.Target() + "f"), 0);
    // A drive that cannot be queried has no room: the entry fails before its file exists.
    x.archiver.OnCheckFile = [&](std::string& p, TCProcessMode) {
        if (p.ends_with("second")) p = "Q:\\second";
    };
    try {
        x.Run(test::BuildArchive({{.name = "first", .plain = kA}, {.name = "second", .plain = kB}}), nullptr);
        FAIL() << "expected EInsufficientDiskSpace";
    } catch (const EInsufficientDiskSpace& e) {
        EXPECT_EQ(e.Message(), "Not enough disk space to expand Q:\\second");
    }
    EXPECT_EQ(x.Files(), (std::vector<std::string>{"first"})) << "earlier entries stay";
    // An empty entry always fits.
    Expansion y;
    y.archiver.CheckSpaceBeforeExpand = true;
    y.archiver.OnCheckFile = [&](std::string& p, TCProcessMode) { p = y.dir.Target() + "x"; };
    EXPECT_NO_THROW(y.Run(test::BuildArchive({{.name = "e", .plain = {}}}), nullptr));
}

TEST(Expand, ShortStreamWritesNothing) {
    Expansion x;
    TStringList list = Lines({"a"});
    EXPECT_TRUE(x.Run(Bytes(20, 'Z'), &list).empty());
    EXPECT_TRUE(list.Empty());
}

TEST(Expand, DirectoryCreationFailureRaisesInOutError) {
    Expansion x;
    test::WriteFile(x.dir.Path() / "blocker", kA);  // a file where a directory must go
    EXPECT_THROW(x.Run(test::BuildArchive({{.name = "blocker\\inner\\f", .plain = kB}}), nullptr), EInOutError);
}

}  // namespace
}  // namespace kelp
