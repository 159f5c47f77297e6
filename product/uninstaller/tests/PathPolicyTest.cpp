#include <gtest/gtest.h>

#include "PathName.h"
#include "PathPolicy.h"
#include "UninstallError.h"

namespace kelp {
namespace {

TEST(PathName, ResolvesDotsDoubledSeparatorsAndSlashes) {
    EXPECT_EQ(NormalisePath("C:\\Program Files\\KelpFTP\\\\KelpFTP.exe"), "C:\\Program Files\\KelpFTP\\KelpFTP.exe");
    EXPECT_EQ(NormalisePath("c:/a/./b/../c"), "C:\\a\\c");
    EXPECT_EQ(NormalisePath("C:\\a\\b\\"), "C:\\a\\b");
    EXPECT_EQ(NormalisePath("C:\\"), "C:\\");
    EXPECT_EQ(NormalisePath("C:\\a\\.."), "C:\\");
    EXPECT_EQ(NormalisePath("C:\\..\\..\\windows"), "C:\\windows");  // ".." stops at the root
    EXPECT_EQ(NormalisePath("\\\\srv\\share\\a\\..\\b"), "\\\\srv\\share\\b");
    EXPECT_EQ(NormalisePath("\\\\srv\\share\\..\\..\\x"), "\\\\srv\\share\\x");
}

TEST(PathName, RefusesWhatIsNoPlainFullPath) {
    for (const char* bad : {"install.log", "KelpFTP\\a.exe", "C:a.exe", "\\windows\\a.exe", "\\\\?\\C:\\a.exe",
                            "\\\\.\\PhysicalDrive0", "C:\\K\\*.exe", "C:\\K\\a.exe:stream", "C:\\K\\a.exe.",
                            "C:\\K \\a.exe", "\\\\srv", "", "C:\\K\\a|b"})
        EXPECT_THROW(NormalisePath(bad), EBadPath) << bad;
}

TEST(PathName, ComparesWithoutRegardToCase) {
    EXPECT_TRUE(SamePath("C:\\Program Files\\KELPFTP", "C:\\program files\\KelpFTP"));
    EXPECT_TRUE(IsInside("C:\\Program Files\\KelpFTP\\a.exe", "c:\\PROGRAM FILES\\kelpftp"));
    EXPECT_FALSE(IsInside("C:\\Program Files\\KelpFTP", "C:\\Program Files\\KelpFTP"));
    // A sibling sharing the prefix is not inside.
    EXPECT_FALSE(IsInside("C:\\Program Files\\KelpFTP2\\a.exe", "C:\\Program Files\\KelpFTP"));
    EXPECT_TRUE(IsInside("C:\\a.exe", "C:\\"));
}

TEST(PathName, PartsOfAPath) {
    EXPECT_EQ(FileNamePart("C:\\K\\KelpFTP.exe"), "KelpFTP.exe");
    EXPECT_EQ(ParentPath("C:\\K\\sub\\a.exe"), "C:\\K\\sub");
    EXPECT_EQ(ParentPath("C:\\a.exe"), "C:\\");
    EXPECT_EQ(ParentPath("C:\\"), "C:\\");
    EXPECT_EQ(ParentPath("\\\\srv\\share\\a"), "\\\\srv\\share");
}

class PathPolicyTest : public ::testing::Test {
protected:
    TPathPolicy policy{{"C:\\Program Files\\KelpFTP",
                        "C:\\windows",
                        {"C:\\users\\me\\Start Menu\\Programs", "C:\\users\\me\\SendTo", "C:\\users\\me\\Desktop"}}};
    TPathKind Kind(const std::string& p) { return policy.Check(p).Kind; }
};

TEST_F(PathPolicyTest, AcceptsTheDestinationsFiles) {
    EXPECT_EQ(Kind("C:\\Program Files\\KelpFTP\\KelpFTP.exe"), TPathKind::Destination);
    EXPECT_EQ(Kind("c:\\program files\\kelpftp\\SUB\\x.dat"), TPathKind::Destination);
    EXPECT_EQ(Kind("C:\\Program Files\\KelpFTP\\\\sites.ini"), TPathKind::Destination);
    EXPECT_EQ(policy.Check("C:\\Program Files\\KelpFTP\\a\\..\\b.txt").Path, "C:\\Program Files\\KelpFTP\\b.txt");
}

TEST_F(PathPolicyTest, RefusesPathsClimbingOutOfTheDestination) {
    TPathVerdict v = policy.Check("C:\\Program Files\\KelpFTP\\..\\..\\windows\\system32\\kernel32.dll");
    EXPECT_EQ(v.Kind, TPathKind::Refused);
    EXPECT_FALSE(v.Reason.empty());
    EXPECT_EQ(Kind("C:\\windows\\system32\\kernel32.dll"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\Program Files\\KelpFTP2\\a.exe"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\Program Files\\KelpFTP"), TPathKind::Refused);  // the folder itself is no file
    EXPECT_EQ(Kind("D:\\Program Files\\KelpFTP\\a.exe"), TPathKind::Refused);
    EXPECT_EQ(Kind("KelpFTP.exe"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\Program Files\\KelpFTP\\a.exe:evil"), TPathKind::Refused);
}

TEST_F(PathPolicyTest, OnlyTheUninstallerOfTheWindowsDirectory) {
    EXPECT_EQ(Kind("C:\\WINDOWS\\VEZAVU.EXE"), TPathKind::Uninstaller);
    EXPECT_EQ(Kind("C:\\windows\\notepad.exe"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\windows\\system32\\vezavu.exe"), TPathKind::Refused);
    EXPECT_EQ(policy.UninstallerPath(), "C:\\windows\\vezavu.exe");
}

TEST_F(PathPolicyTest, OnlyShortcutsFromTheShortcutFolders) {
    EXPECT_EQ(Kind("C:\\users\\me\\Desktop\\KelpFTP.lnk"), TPathKind::Shortcut);
    EXPECT_EQ(Kind("C:\\Users\\ME\\start menu\\Programs\\KelpFTP\\KelpFTP.LNK"), TPathKind::Shortcut);
    EXPECT_EQ(policy.Check("C:\\users\\me\\SendTo\\KelpFTP.lnk").Root, "C:\\users\\me\\SendTo");
    EXPECT_EQ(Kind("C:\\users\\me\\Desktop\\report.doc"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\users\\me\\Desktop"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\users\\me\\Documents\\KelpFTP.lnk"), TPathKind::Refused);
    EXPECT_EQ(Kind("C:\\users\\me\\Desktop\\..\\Documents\\KelpFTP.lnk"), TPathKind::Refused);
}

TEST_F(PathPolicyTest, TheWindowsDirectoryStaysOffLimitsUnderARootDestination) {
    TPathPolicy root({"C:\\", "C:\\windows", {}});
    EXPECT_EQ(root.Check("C:\\KelpFTP.exe").Kind, TPathKind::Destination);
    EXPECT_EQ(root.Check("C:\\windows\\system32\\kernel32.dll").Kind, TPathKind::Refused);
    EXPECT_TRUE(root.IsProtectedFolder("C:\\"));
}

TEST_F(PathPolicyTest, SpecialFoldersAndTheirParentsAreProtected) {
    EXPECT_TRUE(policy.IsProtectedFolder("C:\\users\\me\\Desktop"));
    EXPECT_TRUE(policy.IsProtectedFolder("C:\\users\\me"));
    EXPECT_TRUE(policy.IsProtectedFolder("C:\\windows"));
    EXPECT_TRUE(policy.IsProtectedFolder("C:\\Program Files"));
    EXPECT_FALSE(policy.IsProtectedFolder("C:\\users\\me\\Start Menu\\Programs\\KelpFTP"));
    EXPECT_FALSE(policy.IsProtectedFolder("C:\\Program Files\\KelpFTP"));
}

}  // namespace
}  // namespace kelp
