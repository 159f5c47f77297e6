// Reading keys and string values in the registry's 32-bit view, the one the
// 32-bit installer wrote into (KEY_WOW64_32KEY is ignored on 32-bit Windows).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace kelp {

constexpr REGSAM kInstallerView = KEY_WOW64_32KEY;

bool RegKeyExists(HKEY root, const std::string& key);
// The value as a string (REG_SZ or REG_EXPAND_SZ, unexpanded); nothing when the key
// or value is missing or of another type.
std::optional<std::string> RegReadString(HKEY root, const std::string& key, const std::string& name,
                                         REGSAM view = kInstallerView);
DWORD RegSubkeyCount(HKEY root, const std::string& key);

}  // namespace kelp
