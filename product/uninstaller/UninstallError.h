// Failures that stop the uninstaller before it changes anything.
#pragma once
#include "base/Exception.h"

namespace kelp {

KELP_EXCEPTION(EUninstallUsage);    // no log named on the command line
KELP_EXCEPTION(ELogUnreadable);     // the log is missing or cannot be read
KELP_EXCEPTION(EBadInstallLog);     // the file is not an installation log
KELP_EXCEPTION(EBadPath);           // a path that cannot be put in canonical form

}  // namespace kelp
