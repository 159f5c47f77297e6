#include "FileRemoval.h"

#include <windows.h>

#include "PathName.h"
#include "SystemError.h"

namespace kelp {

namespace {
bool IsMissing(DWORD e) { return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND; }

bool IsInUse(DWORD e) {
    return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION || e == ERROR_ACCESS_DENIED ||
           e == ERROR_USER_MAPPED_FILE;
}
}  // namespace

TRemoveResult ScheduleAtRestart(const std::string& path) {
    if (::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return {TRemoveOutcome::Scheduled, ""};
    DWORD e = ::GetLastError();
    std::string why = "in use, and it could not be scheduled for removal at restart: " + SystemMessage(e);
    if (e == ERROR_ACCESS_DENIED) why += " Scheduling needs administrator rights.";
    return {TRemoveOutcome::Left, why};
}

TRemoveResult RemoveOneFile(const std::string& path) {
    DWORD attrs = ::GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        DWORD e = ::GetLastError();
        if (IsMissing(e)) return {TRemoveOutcome::Missing, ""};
        return {TRemoveOutcome::Left, SystemMessage(e)};
    }
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) return {TRemoveOutcome::Left, "it is a folder, not a file"};
    if (attrs & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    if (::DeleteFileA(path.c_str())) return {TRemoveOutcome::Removed, ""};
    DWORD e = ::GetLastError();
    if (IsMissing(e)) return {TRemoveOutcome::Missing, ""};
    if (IsInUse(e)) return ScheduleAtRestart(path);
    return {TRemoveOutcome::Left, SystemMessage(e)};
}

TRemoveResult RemoveEmptyFolder(const std::string& path) {
    DWORD attrs = ::GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return {TRemoveOutcome::Missing, ""};
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {TRemoveOutcome::Left, "it is a file, not a folder"};
    if (::RemoveDirectoryA(path.c_str())) return {TRemoveOutcome::Removed, ""};
    DWORD e = ::GetLastError();
    if (IsMissing(e)) return {TRemoveOutcome::Missing, ""};
    if (e == ERROR_DIR_NOT_EMPTY) return {TRemoveOutcome::Left, "it still holds files the installation did not make"};
    return {TRemoveOutcome::Left, SystemMessage(e)};
}

bool PassesThroughLink(const std::string& path, const std::string& root) {
    for (std::string dir = ParentPath(path); IsInside(dir, root); dir = ParentPath(dir)) {
        DWORD attrs = ::GetFileAttributesA(dir.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    }
    return false;
}

}  // namespace kelp
