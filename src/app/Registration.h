// Registering the installed program with Windows and creating its shortcuts;
// both append their lines to the open install log.
#pragma once
#include <string>

#include "app/InstallLog.h"
#include "app/SetupCtl.h"
#include "shell/Link.h"

namespace kelp {

// Uninstall information, the application path and, when configured, the handler
// of an already registered ftp protocol. `installDir` ends in a backslash.
void CreateRegistryEntries(const TSetupControl& config, const std::string& winDir, const std::string& installDir,
                           TInstallLog& log);

// Asks, then creates the configured shortcuts in Programs, Send To and Desktop.
void CreateShortcuts(const TSetupControl& config, TLink& shortcut, const std::string& installDir, TInstallLog& log);

inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

}  // namespace kelp
