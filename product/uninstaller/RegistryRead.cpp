#include "RegistryRead.h"

#include "Win32Handle.h"

namespace kelp {

bool RegKeyExists(HKEY root, const std::string& key, REGSAM view) {
    TRegKey k;
    return ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, k.Out()) == ERROR_SUCCESS;
}

std::optional<std::string> RegReadString(HKEY root, const std::string& key, const std::string& name, REGSAM view) {
    TRegKey k;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, k.Out()) != ERROR_SUCCESS) return {};
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    std::string data(size, '\0');
    if (size && ::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                   &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    while (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

DWORD RegSubkeyCount(HKEY root, const std::string& key, REGSAM view) {
    TRegKey k;
    DWORD subkeys = 0;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, k.Out()) != ERROR_SUCCESS) return 0;
    if (::RegQueryInfoKeyA(k.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return subkeys;
}

}  // namespace kelp
