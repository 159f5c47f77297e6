// The uninstall command is "<uninstaller> <log path>", the log path unquoted and
// possibly holding blanks, so it is everything after the program's own path.
#pragma once
#include <string>

namespace kelp {

// The command-line tail after the program path, surrounding blanks and one pair of
// surrounding quotes removed. The program path is quoted, or programPath itself
// (unquoted, it may hold blanks), or else ends at the first blank, as Windows
// splits it. Raises EUninstallUsage when the tail is empty.
std::string LogPathFromCommandLine(const std::string& commandLine, const std::string& programPath = "");

}  // namespace kelp
