// What one uninstallation will try to remove, worked out from the log and the
// path policy before anything is touched.
#pragma once
#include <string>
#include <vector>

#include "InstallLog.h"
#include "PathPolicy.h"

namespace kelp {

struct TPlannedFile {
    std::string Path;  // normalised
    TPathKind Kind;
    std::string Root;  // folders are pruned up to, not including, this one
};

struct TRefusal {
    std::string Line;  // the log's value as written
    std::string Reason;
};

struct TRemovalPlan {
    std::string AppName;
    std::string LogPath;      // normalised
    std::string Destination;  // normalised, the log's directory
    std::vector<TPlannedFile> Files;  // unique, in log order; the log itself is not among them
    std::vector<TRefusal> Refused;
    // Keys under HKLM, relative to it; empty when the log gives no usable name.
    std::string UninstallKey;
    std::string AppPathsKey;
    std::string ProgramPath;  // the program the App Paths key names, normalised; may be empty
    // Folders to remove when empty, deepest first (the destination's Backup among
    // them); the destination is the last one.
    std::vector<std::string> Folders;
};

inline const char* kUninstallRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const char* kAppPathsRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// Where the installer moves the files it replaces, under the destination.
inline const char* kBackupFolder = "Backup";

// logPath must be the log the entries were read from; its folder is the destination.
TRemovalPlan BuildRemovalPlan(const TInstallLog& log, const std::string& logPath, const TPathPolicy& policy);

// A registry key name taken from the log: one plain level, nothing that climbs.
bool IsPlainKeyName(const std::string& name);

}  // namespace kelp
