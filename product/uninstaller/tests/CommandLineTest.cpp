#include <gtest/gtest.h>

#include "CommandLine.h"
#include "UninstallError.h"

namespace kelp {
namespace {

TEST(CommandLine, TheWholeTailIsTheLogPathBlanksIncluded) {
    EXPECT_EQ(LogPathFromCommandLine("C:\\WINDOWS\\vezavu.exe C:\\Program Files\\KelpFTP\\install.log"),
              "C:\\Program Files\\KelpFTP\\install.log");
}

TEST(CommandLine, AQuotedProgramPathMaySpanBlanks) {
    EXPECT_EQ(LogPathFromCommandLine("\"C:\\My Windows\\vezavu.exe\" C:\\Program Files (x86)\\KelpFTP\\install.log"),
              "C:\\Program Files (x86)\\KelpFTP\\install.log");
}

TEST(CommandLine, SurroundingQuotesOfTheLogPathGo) {
    EXPECT_EQ(LogPathFromCommandLine("vezavu.exe \"C:\\Program Files\\KelpFTP\\install.log\""),
              "C:\\Program Files\\KelpFTP\\install.log");
}

TEST(CommandLine, BlanksAroundTheTailGoButInnerRunsStay) {
    EXPECT_EQ(LogPathFromCommandLine("  vezavu.exe   C:\\A  B\\install.log  "), "C:\\A  B\\install.log");
    EXPECT_EQ(LogPathFromCommandLine("vezavu.exe\tC:\\K\\install.log"), "C:\\K\\install.log");
}

TEST(CommandLine, AQuoteInsideThePathIsKept) {
    EXPECT_EQ(LogPathFromCommandLine("vezavu.exe C:\\K\\install.log\""), "C:\\K\\install.log\"");
}

TEST(CommandLine, AnUnquotedProgramPathWithBlanksIsKnownByOurOwnPath) {
    EXPECT_EQ(LogPathFromCommandLine("C:\\My Windows\\vezavu.exe C:\\Program Files\\KelpFTP\\install.log",
                                     "c:\\my windows\\VEZAVU.EXE"),
              "C:\\Program Files\\KelpFTP\\install.log");
    // Another program path: split as Windows does.
    EXPECT_EQ(LogPathFromCommandLine("C:\\WINDOWS\\vezavu.exe C:\\K\\install.log", "C:\\Other\\vezavu.exe"),
              "C:\\K\\install.log");
    // Our path only as the start of a longer name is no match.
    EXPECT_EQ(LogPathFromCommandLine("C:\\W\\vezavu.exe2 C:\\K\\install.log", "C:\\W\\vezavu.exe"),
              "C:\\K\\install.log");
}

TEST(CommandLine, NoTailIsAUsageError) {
    EXPECT_THROW(LogPathFromCommandLine("C:\\WINDOWS\\vezavu.exe"), EUninstallUsage);
    EXPECT_THROW(LogPathFromCommandLine("\"C:\\WINDOWS\\vezavu.exe\"   "), EUninstallUsage);
    EXPECT_THROW(LogPathFromCommandLine("vezavu.exe \"\""), EUninstallUsage);
    EXPECT_THROW(LogPathFromCommandLine(""), EUninstallUsage);
}

}  // namespace
}  // namespace kelp
