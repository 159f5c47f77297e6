// TArchiver expanding archives onto a real Windows file system.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "archive/Archiver.h"
#include "archive/FileSystem.h"
#include "archive/codec/Methods.h"

namespace kelp {
namespace {

using test::Bytes;
using test::TempDir;
using test::TestEntry;

constexpr uint16_t kReadOnlyArchive = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
// Wine reports the archive bit on every file; the read-only bit is what shows.
constexpr uint32_t kAttrMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

// Seven 'A's, a 'B', a literal escape byte, 'C' and a pair of 'D's, written by hand
// in the run-length format so the decoder is checked against known bytes.
TestEntry RleEntry(const std::string& name, uint32_t dosTime, uint16_t attributes) {
    TestEntry e;
    e.Name = name;
    const std::string plain = std::string(7, 'A') + "B\x94" "CDD";
    e.Stored = {'A', 0x94, 7, 'B', 0x94, 0x00, 'C', 'D', 'D'};
    e.UncompressedSize = static_cast<int32_t>(plain.size());
    e.Checksum = ByteSum(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
    e.Method = kMethodRle;
    e.DateTime = dosTime;
    e.Attributes = attributes;
    return e;
}

std::string RlePlain() { return std::string(7, 'A') + "B\x94" "CDD"; }

// Changes the current directory for one test and puts it back.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& dir) {
        char buffer[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, buffer);
        saved_ = buffer;
        ::SetCurrentDirectoryA(dir.c_str());
    }
    ~CurrentDirectory() { ::SetCurrentDirectoryA(saved_.c_str()); }

private:
    std::string saved_;
};

void Expand(TArchiver& archiver, const Bytes& archive, TStringList* list) {
    MemoryStream stream(archive);
    archiver.ExpandArchiveEntries(stream, list);
}

TEST(ArchiverOnWindows, ExpandsFilesWithDirectoriesTimesAndAttributes) {
    TempDir dir;
    // The empty entry comes first: once the sizes reach TotalSize the walk stops.
    const std::vector<TestEntry> entries = {
        test::StoredEntry("empty.txt", "", 0x20B48C2F, FILE_ATTRIBUTE_ARCHIVE),
        test::StoredEntry("README.TXT", "Read me first.\r\n", 0x5A8C6000, FILE_ATTRIBUTE_ARCHIVE),
        RleEntry("sub\\deeper\\runs.bin", 0x3CF25B1D, kReadOnlyArchive),
    };
    TArchiver archiver;
    archiver.SetTargetPath(dir.Path().substr(0, dir.Path().size() - 1));
    ASSERT_EQ(archiver.TargetPath(), dir.Path());
    archiver.MakeDirectories = true;
    TStringList list;
    list.Add("EMPTY.TXT");
    list.Add("readme.txt");
    list.Add("SUB\\DEEPER\\RUNS.BIN");
    Expand(archiver, test::BuildArchive(entries), &list);

    const std::string expectedText[] = {"", "Read me first.\r\n", RlePlain()};
    ASSERT_EQ(list.Count(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string path = dir / entries[i].Name;
        EXPECT_EQ(list[i], path);
        EXPECT_EQ(test::ReadWholeFile(path), test::ToBytes(expectedText[i])) << path;
        EXPECT_EQ(fs::GetFileDosTime(path), entries[i].DateTime) << path;
        EXPECT_EQ(fs::GetAttributes(path) & kAttrMask, entries[i].Attributes & kAttrMask) << path;
    }
    EXPECT_TRUE(test::DirectoryExists(dir / "sub\\deeper"));
}

TEST(ArchiverOnWindows, RootedNameIgnoresTargetPath) {
    TempDir dir, target;
    // A rooted name lives on the current drive: make that the scratch directory's drive.
    CurrentDirectory cwd(dir.Path());
    const std::string rooted = dir.Path().substr(2) + "rooted.txt";  // without "X:"
    ASSERT_EQ(rooted[0], '\\');
    TArchiver archiver;
    archiver.SetTargetPath(target.Path());
    TStringList list;
    list.Add(rooted);
    Expand(archiver, test::BuildArchive({test::StoredEntry(rooted, "rooted")}), &list);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0], rooted);
    EXPECT_EQ(test::ReadWholeFile(dir / "rooted.txt"), test::ToBytes("rooted"));
    EXPECT_FALSE(test::FileExists(target.Path() + rooted));
}

TEST(ArchiverOnWindows, MissingDirectoriesWithoutMakeDirectories) {
    const std::vector<TestEntry> entries = {
        test::StoredEntry("first.txt", "one"),
        test::StoredEntry("a\\b\\second.txt", "two"),
        test::StoredEntry("third.txt", "three"),
    };
    {
        TempDir dir;
        TArchiver archiver;
        archiver.SetTargetPath(dir.Path());
        TStringList list;
        for (const TestEntry& e : entries) list.Add(e.Name);
        Expand(archiver, test::BuildArchive(entries), &list);
        ASSERT_EQ(list.Count(), 2u) << "the entry without its directory is skipped";
        EXPECT_EQ(list[0], dir / "first.txt");
        EXPECT_EQ(list[1], dir / "third.txt");
        EXPECT_FALSE(test::DirectoryExists(dir / "a"));
    }
    {
        TempDir dir;
        TArchiver archiver;
        archiver.SetTargetPath(dir.Path());
        archiver.ExceptionOnFileError = true;
        try {
            Expand(archiver, test::BuildArchive(entries), nullptr);
            FAIL() << "no error for a file that cannot be created";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file " + dir / "a\\b\\second.txt");
        }
        EXPECT_TRUE(test::FileExists(dir / "first.txt"));
        EXPECT_FALSE(test::FileExists(dir / "third.txt"));
    }
}

TEST(ArchiverOnWindows, TargetIsLockedWhileWrittenAndReplacesOldFile) {
    TempDir dir;
    const std::string path = dir / "locked.txt";
    test::WriteWholeFile(path, test::ToBytes("an older and much longer file"));
    TArchiver archiver;
    archiver.SetTargetPath(dir.Path());
    std::vector<DWORD> openErrors;
    archiver.OnShowProgress = [&](int32_t&) {
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        openErrors.push_back(h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    };
    Expand(archiver, test::BuildArchive({test::StoredEntry("locked.txt", "new")}), nullptr);
    ASSERT_FALSE(openErrors.empty());
    for (DWORD error : openErrors) EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(test::ReadWholeFile(path), test::ToBytes("new"));
}

TEST(ArchiverOnWindows, SpaceCheckOnRealDrives) {
    struct Case {
        const char* label;
        std::string redirect;  // where OnCheckFile sends the entry; empty keeps it
        bool expectError;
    };
    TempDir dir;
    const Case cases[] = {
        {"scratch drive", "", false},
        {"unmapped drive", "Q:\\kelp\\space.txt", true},
    };
    for (const Case& c : cases) {
        TArchiver archiver;
        archiver.SetTargetPath(dir.Path());
        archiver.CheckSpaceBeforeExpand = true;
        archiver.OnCheckFile = [&](std::string& path, TCProcessMode) {
            if (!c.redirect.empty()) path = c.redirect;
        };
        const Bytes archive = test::BuildArchive({test::StoredEntry("space.txt", "fits")});
        if (c.expectError) {
            try {
                Expand(archiver, archive, nullptr);
                ADD_FAILURE() << c.label;
            } catch (const EInsufficientDiskSpace& e) {
                EXPECT_EQ(e.Message(), "Not enough disk space to expand " + c.redirect);
            }
        } else {
            EXPECT_NO_THROW(Expand(archiver, archive, nullptr)) << c.label;
            EXPECT_TRUE(test::FileExists(dir / "space.txt")) << c.label;
        }
    }
}

TEST(ArchiverOnWindows, DirectoryThatCannotBeCreatedRaises) {
    TempDir dir;
    test::WriteWholeFile(dir / "blocker", test::ToBytes("a file where a directory should go"));
    EXPECT_THROW(TArchiver::CreateDirectoryPath(dir / "blocker\\sub\\"), EInOutError);
    EXPECT_NO_THROW(TArchiver::CreateDirectoryPath(dir / "x\\y\\z\\"));
    EXPECT_TRUE(TArchiver::IsDirectory(dir / "x\\y\\z"));
    EXPECT_FALSE(TArchiver::IsDirectory(dir / "blocker"));
}

}  // namespace
}  // namespace kelp
