// The Win32 file-system layer against the real Win32 behaviour under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "archive/FileSystem.h"

namespace kelp {
namespace {

using test::TempDir;

TEST(Win32FileSystem, CreatedFileIsNotShared) {
    TempDir dir;
    const std::string path = dir / "locked.bin";
    auto file = fs::CreateNewFile(path);
    // Each kind of second access must be refused while the writer holds the file.
    const DWORD accesses[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    for (DWORD access : accesses) {
        HANDLE other = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE) << "access " << access;
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
    }
    EXPECT_THROW(fs::OpenFileRead(path), EFOpenError);
    file->Close();
    EXPECT_NO_THROW(fs::OpenFileRead(path));
}

TEST(Win32FileSystem, CreateTruncatesAndReadsBack) {
    TempDir dir;
    const std::string path = dir / "data.bin";
    test::WriteWholeFile(path, test::ToBytes("previous contents, longer"));
    auto file = fs::CreateNewFile(path);
    EXPECT_EQ(file->Size(), 0);
    const std::string text = "0123456789";
    EXPECT_EQ(file->Write(text.data(), 10), 10);
    EXPECT_EQ(file->Seek(-4, SeekOrigin::End), 6);
    char tail[8] = {};
    EXPECT_EQ(file->Read(tail, 8), 4);
    EXPECT_STREQ(tail, "6789");
    EXPECT_EQ(file->Seek(-100, SeekOrigin::Current), 10) << "a seek before the start leaves the position";
    file->Close();
    EXPECT_EQ(test::ReadWholeFile(path), test::ToBytes(text));
    EXPECT_EQ(fs::FileSize(path), 10);
}

TEST(Win32FileSystem, OpenFailuresRaiseWithThePath) {
    TempDir dir;
    const std::string missingDir = dir / "no\\such\\file.txt";
    try {
        fs::CreateNewFile(missingDir);
        FAIL() << "created a file in a missing directory";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + missingDir);
    }
    const std::string missing = dir / "missing.txt";
    try {
        fs::OpenFileRead(missing);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    EXPECT_FALSE(fs::LastErrorText().empty());
}

TEST(Win32FileSystem, ReadOnlyStreamCannotWrite) {
    TempDir dir;
    const std::string path = dir / "ro.txt";
    test::WriteWholeFile(path, test::ToBytes("abc"));
    auto file = fs::OpenFileRead(path);
    EXPECT_EQ(file->Write("xyz", 3), 0);
    EXPECT_EQ(file->Size(), 3);
}

constexpr uint32_t DosTime(int year, int month, int day, int hour, int minute, int second) {
    return (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(month) << 21) |
           (static_cast<uint32_t>(day) << 16) | (static_cast<uint32_t>(hour) << 11) |
           (static_cast<uint32_t>(minute) << 5) | static_cast<uint32_t>(second / 2);
}

// The bias LocalFileTimeToFileTime applies: the zone's offset in force now, in minutes.
int64_t CurrentBiasMinutes() {
    TIME_ZONE_INFORMATION tz;
    const DWORD id = ::GetTimeZoneInformation(&tz);
    return tz.Bias + (id == TIME_ZONE_ID_DAYLIGHT ? tz.DaylightBias : id == TIME_ZONE_ID_STANDARD ? tz.StandardBias : 0);
}

// The file's UTC write time moved back by that bias, as calendar fields.
SYSTEMTIME LocalWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    EXPECT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    ULARGE_INTEGER t;
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    t.QuadPart -= static_cast<uint64_t>(CurrentBiasMinutes() * 60 * 10000000LL);
    FILETIME local{t.LowPart, t.HighPart};
    SYSTEMTIME fields{};
    ::FileTimeToSystemTime(&local, &fields);
    return fields;
}

TEST(Win32FileSystem, DosTimeRoundTripsAsLocalTime) {
    struct Case {
        int year, month, day, hour, minute, second;
    };
    const Case cases[] = {
        {1980, 1, 1, 0, 0, 0},   {1998, 7, 15, 12, 34, 56}, {2004, 2, 29, 23, 59, 58},
        {2026, 12, 11, 9, 5, 2}, {2107, 12, 31, 23, 59, 58},
    };
    // The test run sets a zone away from UTC, so local and UTC times differ.
    if (std::getenv("TZ")) {
        EXPECT_NE(CurrentBiasMinutes(), 0);
    }
    TempDir dir;
    for (const Case& c : cases) {
        const uint32_t dos = DosTime(c.year, c.month, c.day, c.hour, c.minute, c.second);
        const std::string path = dir / ("t" + std::to_string(dos) + ".txt");
        auto file = fs::CreateNewFile(path);
        file->Write("x", 1);
        ASSERT_TRUE(file->SetDosTime(dos)) << c.year;
        file->Close();  // the time set on the handle must survive the close
        EXPECT_EQ(fs::GetFileDosTime(path), dos) << c.year << "-" << c.month << "-" << c.day;
        const SYSTEMTIME local = LocalWriteTime(path);
        EXPECT_EQ(local.wYear, c.year);
        EXPECT_EQ(local.wMonth, c.month);
        EXPECT_EQ(local.wDay, c.day);
        EXPECT_EQ(local.wHour, c.hour);
        EXPECT_EQ(local.wMinute, c.minute);
        EXPECT_EQ(local.wSecond, c.second);
    }
    EXPECT_EQ(fs::GetFileDosTime(dir / "missing"), 0u);
}

TEST(Win32FileSystem, AttributesAreSetAndRead) {
    // Wine keeps no archive bit (it reports it on every file), so only these are compared.
    const uint32_t mask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const uint32_t cases[] = {
        FILE_ATTRIBUTE_READONLY,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
        FILE_ATTRIBUTE_SYSTEM,
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
        FILE_ATTRIBUTE_NORMAL,
    };
    TempDir dir;
    const std::string path = dir / "attr.txt";
    test::WriteWholeFile(path, test::ToBytes("a"));
    for (uint32_t attributes : cases) {
        ASSERT_TRUE(fs::SetAttributes(path, attributes)) << attributes;
        EXPECT_EQ(fs::GetAttributes(path) & mask, attributes & mask) << attributes;
        EXPECT_EQ(fs::GetAttributes(path) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    }
    EXPECT_EQ(fs::GetAttributes(dir / "missing.txt"), fs::kInvalidAttributes);
    EXPECT_FALSE(fs::SetAttributes(dir / "missing.txt", FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_NE(fs::GetAttributes(dir.Path()) & fs::kAttrDirectory, 0u);
}

TEST(Win32FileSystem, MoveReplacesTheTarget) {
    struct Case {
        const char* label;
        bool targetExists;
    };
    const Case cases[] = {{"new target", false}, {"existing target", true}};
    for (const Case& c : cases) {
        TempDir dir;
        const std::string from = dir / "from.txt", to = dir / "to.txt";
        test::WriteWholeFile(from, test::ToBytes("moved"));
        if (c.targetExists) test::WriteWholeFile(to, test::ToBytes("old target, longer"));
        EXPECT_TRUE(fs::MoveFileReplace(from, to)) << c.label;
        EXPECT_FALSE(test::FileExists(from)) << c.label;
        EXPECT_EQ(test::ReadWholeFile(to), test::ToBytes("moved")) << c.label;
    }
    TempDir dir;
    EXPECT_FALSE(fs::MoveFileReplace(dir / "absent.txt", dir / "to.txt"));
}

// The product must come out of single-precision arithmetic, as the component computes it.
double ExpectedFree(const char* root) {
    DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
    if (!::GetDiskFreeSpaceA(root, &spc, &bps, &freeClusters, &total)) return -1;
    return static_cast<double>(static_cast<float>(bps) * static_cast<float>(spc) * static_cast<float>(freeClusters));
}

TEST(Win32FileSystem, FreeSpaceOfDrives) {
    struct Case {
        int drive;
        const char* root;  // null: the current drive
    };
    const Case cases[] = {{0, nullptr}, {3, "C:\\"}};
    for (const Case& c : cases) {
        const double free = fs::DiskFreeBytes(c.drive);
        EXPECT_GT(free, 0) << c.drive;
        EXPECT_EQ(free, static_cast<double>(static_cast<float>(free))) << "single precision";
        // Other programs write to the same disk between the two queries.
        const double expected = ExpectedFree(c.root);
        EXPECT_NEAR(free, expected, expected / 100) << c.drive;
    }
    // Drives that are not there (Q: is unmapped in a new prefix) and letters that are no drives.
    const int missing[] = {17, -15, 300};
    for (int drive : missing) EXPECT_EQ(fs::DiskFreeBytes(drive), -1) << drive;
}

TEST(Win32FileSystem, DirectoriesAndSizes) {
    TempDir dir;
    const std::string sub = dir / "sub";
    EXPECT_TRUE(fs::MakeDirectory(sub));
    EXPECT_TRUE(test::DirectoryExists(sub));
    EXPECT_FALSE(fs::MakeDirectory(sub)) << "already there";
    EXPECT_FALSE(fs::MakeDirectory(dir / "a\\b")) << "missing parent";
    EXPECT_EQ(fs::FileSize(sub), -1) << "a directory has no file size";
    EXPECT_EQ(fs::FileSize(dir / "none"), -1);
    const std::string file = sub + "\\f.txt";
    test::WriteWholeFile(file, test::ToBytes("12345"));
    EXPECT_EQ(fs::FileSize(file), 5);
    EXPECT_TRUE(fs::RemoveFile(file));
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_FALSE(fs::RemoveFile(file));
}

}  // namespace
}  // namespace kelp
