// Removing one file or one empty folder, with what happened and why.
#pragma once
#include <string>

namespace kelp {

enum class TRemoveOutcome {
    Removed,
    Missing,    // nothing there to remove
    Scheduled,  // in use: removed when Windows restarts
    Left        // still there; Reason says why
};

struct TRemoveResult {
    TRemoveOutcome Outcome;
    std::string Reason;
};

// Deletes a file (clearing its read-only attribute first). A file in use is
// scheduled for removal at restart. A folder found under the name is left.
TRemoveResult RemoveOneFile(const std::string& path);

// Removes a folder only when it is empty.
TRemoveResult RemoveEmptyFolder(const std::string& path);

// Schedules a path for removal at restart (an empty folder, or a file in use).
TRemoveResult ScheduleAtRestart(const std::string& path);

// True when a folder between root (excluded) and path (excluded) is a link
// (junction or symbolic link) that could lead somewhere else.
bool PassesThroughLink(const std::string& path, const std::string& root);

}  // namespace kelp
