// The uninstall command is "<uninstaller> <log path>", the log path unquoted and
// possibly holding blanks, so it is everything after the program's own path.
#pragma once
#include <string>

namespace kelp {

// The command-line tail after the program path (quoted or not), surrounding blanks
// and one pair of surrounding quotes removed. Raises EUninstallUsage when empty.
std::string LogPathFromCommandLine(const std::string& commandLine);

}  // namespace kelp
