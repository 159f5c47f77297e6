// Removal of a real installation: the default install, then the uninstaller
// started the way Windows starts it from the uninstall key. What the prefix looks
// like afterwards, compared with before the installation, is check-uninstall.sh's.
#include "Checks.h"
#include "Driver.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {

namespace {

const char* const kShortcutFolders[] = {"Programs", "SendTo", "Desktop"};

// Gone in every registry view, so a key left in the other one cannot hide.
bool KeyGone(const std::string& key) {
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_32KEY), REGSAM(KEY_WOW64_64KEY)})
        if (RegKeyExists(HKEY_LOCAL_MACHINE, key, view)) return false;
    return true;
}

// The installer's process, so the uninstaller starts only once it has ended, as
// it would when the user goes from the finish page to "Add or remove programs".
class Installer {
public:
    Installer() {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(WaitTopWindow("TfrmMain"), &pid);
        handle_ = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
        Check(handle_ != nullptr, "installer process opened");
    }
    ~Installer() {
        if (handle_) ::CloseHandle(handle_);
    }
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;
    void WaitEnd() const {
        WaitFor([&] { return ::WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, "installer ended");
    }

private:
    HANDLE handle_ = nullptr;
};

void Uninstall(const std::string&) {
    Installer setup;
    const std::string dest = InstallWithDefaults();
    setup.WaitEnd();
    CheckEq(dest, DefaultDestination(), "default destination");
    Check(DirExists(dest) && FileExists(dest + "\\KelpFTP.exe"), "installed");
    for (const char* folder : kShortcutFolders)
        Check(FileExists(ShellFolder(folder) + "\\KelpFTP.lnk"), std::string("shortcut in ") + folder);
    Check(RegKeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey), "App Paths key written");

    // As "Add or remove programs" does: the stored command line, started as it is.
    auto command = RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    Check(command.has_value(), "UninstallString readable");
    const std::string uninstaller = WindowsDir() + "\\vezavu.exe";
    CheckEq(*command, "\"" + uninstaller + "\" " + dest + "\\install.log", "UninstallString");
    Process vezavu(*command);

    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to remove KelpFTP and all of its components?", "uninstall question");
    CheckEq(q.ButtonCaptions(), "&Yes then &No", "buttons");
    Screenshot("20-uninstall-question");
    Answer(q, "&Yes");

    Question summary = WaitQuestion("KelpFTP Uninstall");
    const std::string& text = summary.Text;
    Screenshot("21-uninstall-summary");
    Check(text.rfind("KelpFTP was removed from your computer.", 0) == 0, "complete removal reported: " + text);
    // The program makes kelpftp.ini and kelpftp.log when it first runs; it never ran.
    for (const char* name : {"KelpFTP.exe", "KelpFTP.hlp", "README.TXT", "SITES.INI", "whatsnew.txt", "install.log",
                             "Backup"})
        Check(text.find("\r\n  " + dest + "\\" + name + "\r\n") != std::string::npos,
              std::string("summary lists ") + name);
    Check(text.find("\r\n  " + dest + "\r\n") != std::string::npos, "summary lists the destination");
    for (const char* folder : kShortcutFolders)
        Check(text.find("\r\n  " + ShellFolder(folder) + "\\KelpFTP.lnk") != std::string::npos,
              std::string("summary lists the shortcut in ") + folder);
    for (const std::string& key : {kUninstallKey, kAppPathsKey})
        Check(text.find("\r\n  HKEY_LOCAL_MACHINE\\" + key) != std::string::npos, "summary lists " + key);
    Check(text.find("Left in place:") == std::string::npos && text.find("Not removed") == std::string::npos,
          "nothing left or refused");
    Check(text.find("The uninstaller itself (" + uninstaller + ") is removed when Windows restarts.") !=
              std::string::npos,
          "summary tells the uninstaller goes at restart");
    Check(text.find("The ftp protocol handler still starts the removed program (\"" + dest +
                    "\\KelpFTP.exe\" \"%1\").") != std::string::npos,
          "summary tells the ftp handler still starts the program");
    CheckEq(TextOf(summary.Buttons.at(0)), "OK", "summary button");
    Answer(summary, "OK");
    CheckEq(std::to_string(vezavu.WaitExit("uninstaller")), "0", "uninstaller exit code");

    Check(!DirExists(dest), "destination removed");
    for (const char* folder : kShortcutFolders)
        Check(!FileExists(ShellFolder(folder) + "\\KelpFTP.lnk"), std::string("shortcut in ") + folder + " removed");
    Check(KeyGone(kUninstallKey), "uninstall key removed");
    Check(KeyGone(kAppPathsKey), "App Paths key removed");
}

}  // namespace

KELP_E2E_SCENARIO(uninstall, Uninstall);

}  // namespace e2e
