#include "win/FileCtrl.h"

#include <windows.h>

namespace kelp {

bool DirectoryExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void ForceDirectories(std::string dir) {
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    if (dir.empty()) throw EInOutError("Unable to create directory");
    if (dir.size() < 3 || DirectoryExists(dir) || ExtractFilePath(dir) == dir) return;
    std::string parent = ExtractFilePath(dir);
    if (!parent.empty()) {
        try {
            ForceDirectories(parent);
        } catch (const EInOutError&) {
            // A parent that strips to nothing (a relative name) is not an error here.
        }
    }
    ::CreateDirectoryA(dir.c_str(), nullptr);
}

}  // namespace kelp
