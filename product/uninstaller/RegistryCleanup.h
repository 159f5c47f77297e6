// The registry keys the installation made under HKLM, and the ftp protocol
// handler it may have taken over (never changed here: what it held before the
// installation is not recorded anywhere).
#pragma once
#include <string>

#include "FileRemoval.h"

namespace kelp {

// Each key is deleted only when it is this installation's: the uninstall key when
// its command (starting uninstallerPath) names logPath, the App Paths key when it
// names programPath. A key of another installation, or one holding subkeys, is left.
TRemoveResult RemoveUninstallKey(const std::string& key, const std::string& logPath,
                                 const std::string& uninstallerPath);
TRemoveResult RemoveAppPathsKey(const std::string& key, const std::string& programPath);

// The command of HKCR\ftp\shell\open\command when it starts programPath; "" otherwise.
std::string FtpHandlerStarting(const std::string& programPath);

}  // namespace kelp
