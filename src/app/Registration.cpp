#include "app/Registration.h"

#include "win/MessageDlg.h"
#include "win/Registry.h"

namespace kelp {

namespace {

// Command lines quote the program's path: with blanks in it, Windows would
// otherwise try "C:\Program.exe" first.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Writes into a key that must already exist; any failure is passed over.
void WriteIntoExisting(TRegistry& reg, const std::string& key, const std::string& value) {
    try {
        if (reg.OpenKey(key, false)) reg.WriteString("", value);
    } catch (const Exception&) {
    }
    reg.CloseKey();
}

}  // namespace

void CreateRegistryEntries(const TSetupControl& config, const std::string& winDir, const std::string& installDir,
                           TInstallLog& log) {
    const std::string exePath = installDir + config.ExeName;
    std::string lastKey;
    {
        TRegistry reg(HKEY_LOCAL_MACHINE);
        lastKey = kUninstallKey + config.ProgramName;
        reg.OpenKey(lastKey, true);
        reg.WriteString("DisplayName", config.ProgramName);
        // The uninstaller takes everything after its own path as the log's path.
        reg.WriteString("UninstallString", Quoted(winDir + "vezavu.exe") + " " + installDir + "install.log");
        reg.CloseKey();

        lastKey = kAppPathsKey + config.ExeName;
        reg.OpenKey(lastKey, true);
        reg.WriteString("", exePath);
        reg.WriteString("Path", installDir.substr(0, installDir.size() - 1));
        reg.CloseKey();

        if (config.RegisterExt) {
            reg.SetRootKey(HKEY_CLASSES_ROOT);
            lastKey = "ftp\\DefaultIcon";
            WriteIntoExisting(reg, lastKey, exePath + ",0");
            lastKey = "ftp\\shell\\open\\command";
            WriteIntoExisting(reg, lastKey, Quoted(exePath) + " \"%1\"");
        }
    }
    log.WriteLine("RegKey: " + lastKey);
}

void CreateShortcuts(const TSetupControl& config, TLink& shortcut, const std::string& installDir, TInstallLog& log) {
    if (ConfirmBox("Create shortcuts on the Desktop and Programs menu ?") == mrNo) return;
    shortcut.Description = config.ProgramName;
    shortcut.FileName = installDir + config.ExeName;
    const struct {
        bool wanted;
        const char* folder;
    } set[] = {{config.ShortcutStartMenu, "Programs"}, {config.ShortcutSendTo, "SendTo"}, {config.ShortcutDesktop, "Desktop"}};
    for (const auto& s : set) {
        if (!s.wanted) continue;
        shortcut.LinkFolder = s.folder;
        log.WriteLine("CreateFile: " + shortcut.CreateLink());
    }
}

}  // namespace kelp
