// The installer's log: CR LF lines, each a tag and its value. The uninstaller needs
// the product name and every file the installation wrote or announced.
#pragma once
#include <string>
#include <vector>

namespace kelp {

struct TInstallLog {
    std::string AppName;
    std::vector<std::string> Copied;   // "Copy: " values, in log order
    std::vector<std::string> Created;  // "CreateFile: " values, in log order
    std::vector<std::string> RegKeys;  // "RegKey: " values
    bool Completed = false;            // the closing line is present
};

// Raises EBadInstallLog when the text has no "AppName: " line.
TInstallLog ParseInstallLog(const std::string& text);

// Reads and parses the file; raises ELogUnreadable when it cannot be read.
TInstallLog ReadInstallLog(const std::string& path);

}  // namespace kelp
