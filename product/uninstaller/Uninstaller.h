// Carries out a removal plan: files, registry keys, the log, then the folders
// left empty, and finally our own program file at restart.
#pragma once
#include <functional>
#include <string>

#include "RemovalPlan.h"
#include "UninstallReport.h"

namespace kelp {

struct TUninstallProgress {
    std::string Status;  // the step
    std::string Item;    // what is being removed
    int Percent = 0;
};

using TProgressEvent = std::function<void(const TUninstallProgress&)>;

// selfPath: our own program file; scheduled for removal at restart when it is the
// uninstaller of the Windows directory.
TUninstallReport RunUninstall(const TRemovalPlan& plan, const TPathPolicy& policy, const std::string& selfPath,
                              const TProgressEvent& progress);

}  // namespace kelp
