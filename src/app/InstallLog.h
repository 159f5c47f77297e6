// install.log: the record of an installation that the uninstaller reads. ANSI
// text, CR LF after every line, written line by line so a stopped run keeps
// everything up to its failure.
#pragma once
#include <windows.h>

#include <string>

namespace kelp {

class TInstallLog {
public:
    // Creates the file anew (replacing one of that name); others may read it meanwhile.
    explicit TInstallLog(const std::string& path);
    ~TInstallLog();
    TInstallLog(const TInstallLog&) = delete;
    TInstallLog& operator=(const TInstallLog&) = delete;

    // Adds one line; a write the system refuses (a full disk) raises.
    void WriteLine(const std::string& line);
    void Close();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// The user's short date, a blank and the long time; the time is left out at midnight.
std::string LogDateTime(const SYSTEMTIME& t);
std::string LogDateTimeNow();

}  // namespace kelp
