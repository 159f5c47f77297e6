#include <gtest/gtest.h>

#include "InstallLog.h"
#include "UninstallError.h"

namespace kelp {
namespace {

const char* kLog =
    "*** Install started: 11/12/2026 11:02:03\r\n"
    "AppName: KelpFTP\r\n"
    "Copy: C:\\Program Files\\KelpFTP\\KelpFTP.exe\r\n"
    "Copy: C:\\Program Files\\KelpFTP\\KelpFTP.hlp\r\n"
    "Copy: C:\\Program Files\\KelpFTP\\README.TXT\r\n"
    "Copy: C:\\Program Files\\KelpFTP\\SITES.INI\r\n"
    "Copy: C:\\Program Files\\KelpFTP\\whatsnew.txt\r\n"
    "RegKey: ftp\\shell\\open\\command\r\n"
    "CreateFile: C:\\users\\me\\Start Menu\\Programs\\KelpFTP.lnk\r\n"
    "CreateFile: C:\\users\\me\\SendTo\\KelpFTP.lnk\r\n"
    "CreateFile: C:\\users\\me\\Desktop\\KelpFTP.lnk\r\n"
    "CreateFile: C:\\Program Files\\KelpFTP\\kelpftp.ini\r\n"
    "CreateFile: C:\\Program Files\\KelpFTP\\kelpftp.log\r\n"
    "CreateFile: C:\\Program Files\\KelpFTP\\sites.ini\r\n"
    "*** Install Completed: 11/12/2026 11:02:05\r\n";

TEST(InstallLog, ReadsEveryTaggedLineInOrder) {
    TInstallLog log = ParseInstallLog(kLog);
    EXPECT_EQ(log.AppName, "KelpFTP");
    ASSERT_EQ(log.Copied.size(), 5u);
    EXPECT_EQ(log.Copied[0], "C:\\Program Files\\KelpFTP\\KelpFTP.exe");
    EXPECT_EQ(log.Copied[4], "C:\\Program Files\\KelpFTP\\whatsnew.txt");
    ASSERT_EQ(log.Created.size(), 6u);
    EXPECT_EQ(log.Created[0], "C:\\users\\me\\Start Menu\\Programs\\KelpFTP.lnk");
    EXPECT_EQ(log.Created[5], "C:\\Program Files\\KelpFTP\\sites.ini");
    ASSERT_EQ(log.RegKeys.size(), 1u);
    EXPECT_EQ(log.RegKeys[0], "ftp\\shell\\open\\command");
    EXPECT_TRUE(log.Completed);
}

TEST(InstallLog, KeepsBlanksInsideValues) {
    TInstallLog log = ParseInstallLog("AppName: Kelp FTP Pro\r\nCopy: C:\\My Apps\\a b.txt \r\n");
    EXPECT_EQ(log.AppName, "Kelp FTP Pro");
    ASSERT_EQ(log.Copied.size(), 1u);
    EXPECT_EQ(log.Copied[0], "C:\\My Apps\\a b.txt ");
}

TEST(InstallLog, AnInterruptedRunHasNoClosingLine) {
    TInstallLog log = ParseInstallLog("*** Install started: 1/1/2026\r\nAppName: KelpFTP\r\nCopy: C:\\K\\a.exe\r\n");
    EXPECT_FALSE(log.Completed);
    EXPECT_EQ(log.Copied.size(), 1u);
}

TEST(InstallLog, ReadsBareLineFeedsAndALastLineWithoutEnd) {
    TInstallLog log = ParseInstallLog("AppName: KelpFTP\nCopy: C:\\K\\a.exe\nCreateFile: C:\\K\\b.ini");
    EXPECT_EQ(log.Copied, std::vector<std::string>{"C:\\K\\a.exe"});
    EXPECT_EQ(log.Created, std::vector<std::string>{"C:\\K\\b.ini"});
}

TEST(InstallLog, TagsAreExact) {
    // No blank after the colon, other case, or a leading blank: not a line we act on.
    TInstallLog log = ParseInstallLog("AppName: KelpFTP\r\nCopy:C:\\x\r\ncopy: C:\\y\r\n Copy: C:\\z\r\nDelete: C:\\w\r\n");
    EXPECT_TRUE(log.Copied.empty());
    EXPECT_TRUE(log.Created.empty());
}

TEST(InstallLog, TheFirstAppNameCounts) {
    TInstallLog log = ParseInstallLog("AppName: KelpFTP\r\nAppName: Other\r\n");
    EXPECT_EQ(log.AppName, "KelpFTP");
}

TEST(InstallLog, TextWithoutAppNameIsNoLog) {
    EXPECT_THROW(ParseInstallLog("Copy: C:\\K\\a.exe\r\n"), EBadInstallLog);
    EXPECT_THROW(ParseInstallLog(""), EBadInstallLog);
}

TEST(InstallLog, AMissingFileGivesAClearError) {
    try {
        ReadInstallLog("C:\\no such folder\\install.log");
        FAIL() << "no error";
    } catch (const ELogUnreadable& e) {
        std::string m = e.Message();
        EXPECT_NE(m.find("C:\\no such folder\\install.log"), std::string::npos) << m;
        EXPECT_NE(m.find("Nothing was removed."), std::string::npos) << m;
    }
}

}  // namespace
}  // namespace kelp
