#include "SystemPaths.h"

#include <windows.h>

#include "win/Registry.h"

namespace kelp {

std::string WindowsDirectory() {
    char buf[MAX_PATH + 1] = {};
    UINT n = ::GetWindowsDirectoryA(buf, sizeof buf);
    return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::vector<std::string> ShortcutFolders() {
    std::vector<std::string> folders;
    TRegistry reg(HKEY_CURRENT_USER, KEY_READ);
    if (!reg.OpenKeyReadOnly("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")) return folders;
    for (const char* name : {"Programs", "SendTo", "Desktop"}) {
        try {
            std::string path = reg.ReadString(name);
            if (!path.empty()) folders.push_back(path);
        } catch (const std::exception&) {
            // A value of another type is no folder we can trust.
        }
    }
    return folders;
}

std::string OwnModulePath() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return buf.substr(0, n);
        buf.resize(buf.size() * 2);
    }
}

}  // namespace kelp
