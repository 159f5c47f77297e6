// Reading keys and string values in a chosen registry view. The installer's keys
// are in the 32-bit view when the shipped 32-bit installer wrote them, in the
// 64-bit one when an x86_64 build did (both flags are ignored on 32-bit Windows).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace kelp {

constexpr REGSAM kInstallerView = KEY_WOW64_32KEY;
constexpr REGSAM kInstallerViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

bool RegKeyExists(HKEY root, const std::string& key, REGSAM view = kInstallerView);
// The value as a string (REG_SZ or REG_EXPAND_SZ, unexpanded); nothing when the key
// or value is missing or of another type.
std::optional<std::string> RegReadString(HKEY root, const std::string& key, const std::string& name,
                                         REGSAM view = kInstallerView);
DWORD RegSubkeyCount(HKEY root, const std::string& key, REGSAM view = kInstallerView);

}  // namespace kelp
