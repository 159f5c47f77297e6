// Which paths an installation log may make us delete: files in the destination,
// the uninstaller in the Windows directory, and shortcuts in the user's shortcut
// folders. Everything else in a log is refused, whatever the log says.
#pragma once
#include <string>
#include <vector>

namespace kelp {

enum class TPathKind { Destination, Uninstaller, Shortcut, Refused };

struct TPathVerdict {
    TPathKind Kind = TPathKind::Refused;
    std::string Path;    // normalised; empty when the text is no usable path
    std::string Root;    // the folder that bounds pruning: destination or shortcut folder
    std::string Reason;  // why a refused path is refused
};

struct TPolicyFolders {
    std::string Destination;                   // the log's directory
    std::string WindowsDir;
    std::vector<std::string> ShortcutFolders;  // Programs, SendTo, Desktop
};

class TPathPolicy {
public:
    // Raises EBadPath when the destination or the Windows directory is no full path.
    explicit TPathPolicy(const TPolicyFolders& folders);
    TPathVerdict Check(const std::string& path) const;

    const std::string& Destination() const { return destination_; }
    const std::string& WindowsDir() const { return windowsDir_; }
    const std::string& UninstallerPath() const { return uninstaller_; }
    // True for the destination, the Windows directory and the shortcut folders,
    // and for any folder holding one of them: never removed.
    bool IsProtectedFolder(const std::string& normalisedDir) const;

private:
    std::string destination_, windowsDir_, uninstaller_;
    std::vector<std::string> shortcutFolders_;
};

}  // namespace kelp
