#include <gtest/gtest.h>

#include "PathName.h"
#include "RemovalPlan.h"
#include "UninstallReport.h"

namespace kelp {
namespace {

TPathPolicy Policy() {
    return TPathPolicy({"C:\\Program Files\\KelpFTP",
                        "C:\\windows",
                        {"C:\\users\\me\\Start Menu\\Programs", "C:\\users\\me\\SendTo", "C:\\users\\me\\Desktop"}});
}

TInstallLog Log() {
    TInstallLog log;
    log.AppName = "KelpFTP";
    log.Copied = {"C:\\Program Files\\KelpFTP\\KelpFTP.hlp", "C:\\Program Files\\KelpFTP\\KelpFTP.exe",
                  "C:\\Program Files\\KelpFTP\\tools\\extra.exe", "C:\\Program Files\\KelpFTP\\SITES.INI"};
    log.Created = {"C:\\users\\me\\Start Menu\\Programs\\KelpFTP\\KelpFTP.lnk", "C:\\users\\me\\Desktop\\KelpFTP.lnk",
                   "C:\\Program Files\\KelpFTP\\sites.ini", "C:\\Program Files\\KelpFTP\\install.log"};
    return log;
}

const std::string kLogPath = "C:\\Program Files\\KelpFTP\\install.log";

TEST(RemovalPlan, NamesTheKeysAfterAppNameAndTheFirstProgram) {
    TRemovalPlan plan = BuildRemovalPlan(Log(), kLogPath, Policy());
    EXPECT_EQ(plan.UninstallKey, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelpFTP");
    EXPECT_EQ(plan.AppPathsKey, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KelpFTP.exe");
    EXPECT_EQ(plan.ProgramPath, "C:\\Program Files\\KelpFTP\\KelpFTP.exe");
}

TEST(RemovalPlan, FilesOnceEachInLogOrderWithoutTheLog) {
    TRemovalPlan plan = BuildRemovalPlan(Log(), kLogPath, Policy());
    std::vector<std::string> paths;
    for (const auto& f : plan.Files) paths.push_back(f.Path);
    // SITES.INI and sites.ini are one file.
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Program Files\\KelpFTP\\KelpFTP.hlp",
                                               "C:\\Program Files\\KelpFTP\\KelpFTP.exe",
                                               "C:\\Program Files\\KelpFTP\\tools\\extra.exe",
                                               "C:\\Program Files\\KelpFTP\\SITES.INI",
                                               "C:\\users\\me\\Start Menu\\Programs\\KelpFTP\\KelpFTP.lnk",
                                               "C:\\users\\me\\Desktop\\KelpFTP.lnk"}));
    EXPECT_TRUE(plan.Refused.empty());
}

TEST(RemovalPlan, FoldersDeepestFirstTheDestinationLastNoSpecialFolder) {
    TRemovalPlan plan = BuildRemovalPlan(Log(), kLogPath, Policy());
    EXPECT_EQ(plan.Folders, (std::vector<std::string>{"C:\\users\\me\\Start Menu\\Programs\\KelpFTP",
                                                      "C:\\Program Files\\KelpFTP\\tools",
                                                      "C:\\Program Files\\KelpFTP\\Backup",
                                                      "C:\\Program Files\\KelpFTP"}));
}

TEST(RemovalPlan, RefusedLinesAreReportedAndNotPlanned) {
    TInstallLog log = Log();
    log.Copied.push_back("C:\\windows\\system32\\kernel32.dll");
    log.Copied.push_back("C:\\Program Files\\KelpFTP\\..\\..\\windows\\system32\\kernel32.dll");
    log.Created.push_back("C:\\users\\me\\Desktop\\notes.txt");
    TRemovalPlan plan = BuildRemovalPlan(log, kLogPath, Policy());
    ASSERT_EQ(plan.Refused.size(), 3u);
    EXPECT_EQ(plan.Refused[0].Line, "C:\\windows\\system32\\kernel32.dll");
    EXPECT_EQ(plan.Refused[1].Line, "C:\\Program Files\\KelpFTP\\..\\..\\windows\\system32\\kernel32.dll");
    for (const auto& f : plan.Files) {
        EXPECT_EQ(f.Path.find("kernel32"), std::string::npos);
        EXPECT_EQ(f.Path.find("notes.txt"), std::string::npos);
    }
    for (const auto& d : plan.Folders) EXPECT_FALSE(IsInside("C:\\windows\\system32\\kernel32.dll", d)) << d;
}

TEST(RemovalPlan, AnAppNameThatIsNoPlainKeyNameRemovesNoKey) {
    for (const char* name : {"", "..", "KelpFTP\\..\\..", "a/b"}) {
        TInstallLog log = Log();
        log.AppName = name;
        TRemovalPlan plan = BuildRemovalPlan(log, kLogPath, Policy());
        EXPECT_TRUE(plan.UninstallKey.empty()) << name;
        EXPECT_FALSE(plan.Refused.empty()) << name;
    }
}

TEST(RemovalPlan, NoProgramNoAppPathsKey) {
    TInstallLog log;
    log.AppName = "KelpFTP";
    log.Copied = {"C:\\Program Files\\KelpFTP\\README.TXT"};
    TRemovalPlan plan = BuildRemovalPlan(log, kLogPath, Policy());
    EXPECT_TRUE(plan.AppPathsKey.empty());
    EXPECT_TRUE(plan.ProgramPath.empty());
}

TEST(UninstallReport, SummarySaysWhatWentWhatStayedAndWhy) {
    TUninstallReport r;
    r.AppName = "KelpFTP";
    r.Removed = {"C:\\K\\KelpFTP.exe"};
    EXPECT_EQ(SummaryText(r), "KelpFTP was removed from your computer.\r\n\r\nRemoved:\r\n  C:\\K\\KelpFTP.exe");
    r.AtRestart = {"C:\\K\\KelpFTP.hlp"};
    r.Left = {{"C:\\K", "it still holds files the installation did not make"}};
    r.Refused = {{"C:\\windows\\system32\\kernel32.dll", "it lies in the Windows directory"}};
    r.FtpHandler = "C:\\K\\KelpFTP.exe %1";
    std::string s = SummaryText(r);
    EXPECT_NE(s.find("not completely"), std::string::npos);
    EXPECT_NE(s.find("removed when Windows restarts:\r\n  C:\\K\\KelpFTP.hlp"), std::string::npos) << s;
    EXPECT_NE(s.find("C:\\K (it still holds files"), std::string::npos) << s;
    EXPECT_NE(s.find("kernel32.dll (it lies in the Windows directory)"), std::string::npos) << s;
    EXPECT_NE(s.find("ftp protocol handler still starts the removed program (C:\\K\\KelpFTP.exe %1)"),
              std::string::npos)
        << s;
}

TEST(UninstallReport, LongListsAreCutShort) {
    TUninstallReport r;
    r.AppName = "KelpFTP";
    for (int i = 0; i < 12; ++i) {
        std::string name = "f";  // appended, not concatenated: gcc 12 warns falsely on the latter
        name += std::to_string(i);
        r.Removed.push_back(name);
    }
    std::string s = SummaryText(r, 8);
    EXPECT_NE(s.find("f7"), std::string::npos);
    EXPECT_EQ(s.find("f8"), std::string::npos);
    EXPECT_NE(s.find("... and 4 more"), std::string::npos);
}

}  // namespace
}  // namespace kelp
