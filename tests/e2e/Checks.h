// What a scenario reads back after the installer ran: files, the install log,
// registry values through the registry API and shortcuts through IShellLinkA.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Where the installer registers itself, under HKEY_LOCAL_MACHINE.
inline const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelpFTP";
inline const std::string kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KelpFTP.exe";

// The Windows directory, where the uninstaller goes.
std::string WindowsDir();

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// install.log's lines without their CR LF; a line lacking its CR fails the check.
std::vector<std::string> ReadLogLines(const std::string& path);

// A REG_SZ value (empty name: the key's default value); nothing when the key or
// value is missing. view is KEY_WOW64_32KEY or 0, as the installer opens it.
std::optional<std::string> RegString(HKEY root, const std::string& key, const std::string& value,
                                     REGSAM view = 0);
bool RegKeyExists(HKEY root, const std::string& key, REGSAM view = 0);
// The Shell Folders path of a special folder (Programs, SendTo, Desktop).
std::string ShellFolder(const std::string& name);

struct Shortcut {
    std::string Target;
    std::string WorkingDirectory;
    std::string Description;
};
// Loads a .lnk through IShellLinkA/IPersistFile; nothing when it cannot be loaded.
std::optional<Shortcut> ReadShortcut(const std::string& lnkPath);

}  // namespace e2e
