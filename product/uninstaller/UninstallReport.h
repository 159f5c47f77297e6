// What an uninstallation did, and the summary the user reads at the end.
#pragma once
#include <string>
#include <vector>

namespace kelp {

struct TLeftItem {
    std::string What;
    std::string Why;
};

struct TUninstallReport {
    std::string AppName;
    std::vector<std::string> Removed;         // files, folders and keys, as removed
    std::vector<std::string> AtRestart;       // scheduled for removal when Windows restarts
    std::vector<TLeftItem> Left;              // still there
    std::vector<TLeftItem> Refused;           // log lines not acted upon
    std::string FtpHandler;                   // the handler's command when it starts the removed program
    std::string SelfAtRestart;                // our own program file, removed at restart
    bool Complete() const { return AtRestart.empty() && Left.empty() && Refused.empty(); }
};

// The summary box's text; long lists are cut short with a count of the rest.
std::string SummaryText(const TUninstallReport& report, size_t maxPerList = 16);

}  // namespace kelp
