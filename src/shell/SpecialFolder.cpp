#include <memory>
#include <type_traits>
#include <vector>

#include "shell/Link.h"

namespace kelp {

namespace {

constexpr const char* kShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct KeyClose {
    void operator()(HKEY key) const noexcept { ::RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyClose>;

// A string value as stored (expandable strings unexpanded); a missing or empty
// value reads as "", any other type raises.
std::string ReadString(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
    std::vector<char> buffer(size + 1, '\0');  // room for a missing terminator
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    return std::string(buffer.data());
}

}  // namespace

std::string SpecialFolderPath(const std::string& name) {
    HKEY raw = nullptr;
    // Full access, so a key the user may only read counts as missing.
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey + 1, 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS)
        throw ERegistryException(std::string("Folder key \"") + kShellFoldersKey + "\" not found");
    KeyHandle key(raw);
    std::string path = ReadString(key.get(), name);
    if (path.empty()) throw ERegistryException("\"" + name + "\" item not found in registry");
    return path;
}

}  // namespace kelp
