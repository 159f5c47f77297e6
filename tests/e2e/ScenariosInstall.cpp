// What an installation leaves behind when the destination or the system already
// holds something: the files against the payload (expanded into the directory
// the prepare script passes as ARG), install.log line by line, the registry
// values and the shortcut files.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "Checks.h"
#include "Driver.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {

namespace {

using Names = std::vector<std::string>;

// The archive's entries in archive order, less the uninstaller, which goes to
// the Windows directory; and the same without the site list a user may have.
const Names kWritten = {"KelpFTP.exe", "KelpFTP.hlp", "README.TXT", "SITES.INI", "whatsnew.txt"};
const Names kWrittenKeepingSites = {"KelpFTP.exe", "KelpFTP.hlp", "README.TXT", "whatsnew.txt"};

const std::string kFtpCommand = "ftp\\shell\\open\\command";
const std::string kFtpIcon = "ftp\\DefaultIcon";
const char* const kLinkFolders[] = {"Programs", "SendTo", "Desktop"};

// The user's own files, which an installation must leave as they are.
const std::string kUserSites = "[Sites]\r\nHome=ftp.example.org\r\nUser=anna\r\n";
const std::string kUserSettings = "[Options]\r\nPassive=1\r\n";

// An earlier installation's files: its name on disk (older versions shipped
// the README in lower case) and the archive entry that replaces it.
const std::pair<const char*, const char*> kEarlierFiles[] = {{"KelpFTP.exe", "KelpFTP.exe"},
                                                             {"KelpFTP.hlp", "KelpFTP.hlp"},
                                                             {"readme.txt", "README.TXT"},
                                                             {"whatsnew.txt", "whatsnew.txt"},
                                                             {"vezavu.exe", "vezavu.exe"}};

std::string EarlierContent(const std::string& entry) { return "KelpFTP 2.50 " + entry + "\r\n"; }

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(::toupper(c)); });
    return s;
}

// Command lines quote their paths, which may hold blanks.
std::string Quoted(const std::string& s) { return '"' + s + '"'; }

std::string RegValue(HKEY root, const std::string& key, const std::string& value) {
    return RegString(root, key, value).value_or("<missing>");
}

void SetRegString(HKEY root, const std::string& key, const std::string& data) {
    HKEY k;
    Check(::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == ERROR_SUCCESS,
          "created " + key);
    const LONG rc = ::RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(k);
    Check(rc == ERROR_SUCCESS, "wrote " + key);
}

void MakeDir(const std::string& dir) { Check(::CreateDirectoryA(dir.c_str(), nullptr) != FALSE, "created " + dir); }

// File names upper-cased (Windows matches them without regard to case) and
// sorted, as one comma-separated line.
std::string ListingOf(Names names) {
    for (auto& n : names) n = Upper(n);
    std::sort(names.begin(), names.end());
    std::string line;
    for (const auto& n : names) line += (line.empty() ? "" : ", ") + n;
    return line;
}

// The files (not directories) in a directory, as ListingOf shows them.
std::string Listing(const std::string& dir) {
    Names names;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    return ListingOf(std::move(names));
}

void CheckFile(const std::string& path, const std::string& want, const std::string& what) {
    auto got = ReadWholeFile(path);
    Check(got.has_value(), what + ": " + path + " exists");
    Check(*got == want, what + ": " + path + " is byte for byte the expected " + std::to_string(want.size()) +
                            " bytes (it has " + std::to_string(got->size()) + ")");
}

// The expanded payload the prepare script put beside the prefix.
struct Payload {
    std::string Dir;
    std::string operator[](const std::string& entry) const {
        auto bytes = ReadWholeFile(Dir + "\\" + entry);
        Check(bytes.has_value(), "payload holds " + entry);
        return *bytes;
    }
};

Payload PayloadOf(const std::string& arg) {
    Check(!arg.empty() && DirExists(arg), "expanded payload given (" + arg + ")");
    return Payload{arg};
}

std::string Today() {
    char date[128] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    return date;
}

// Lays out the destination as an earlier installation left it: older versions
// of the archive's files (the old uninstaller among them), a settings file of
// the user's, optionally the user's site list, and the old uninstaller in the
// Windows directory.
void LayEarlierInstallation(const std::string& dest, bool withSites) {
    MakeDir(dest);
    for (const auto& [disk, entry] : kEarlierFiles) WriteWholeFile(dest + "\\" + disk, EarlierContent(entry));
    WriteWholeFile(dest + "\\kelpftp.ini", kUserSettings);
    if (withSites) WriteWholeFile(dest + "\\sites.ini", kUserSites);
    WriteWholeFile(WindowsDir() + "\\vezavu.exe", EarlierContent("vezavu.exe"));
}

// While the run asks about shortcuts, its progress dialog stands behind the
// question: done with the files, an empty file line. The question is moved
// aside for the screenshot.
void LookAtProgressBehindQuestion() {
    Question q = WaitQuestion("Confirm");
    HWND copy = TopWindow("TfrmCopy", "Setup");
    Check(copy != nullptr, "progress dialog shown during the run");
    Check(Child(copy, "Static", "Creating Registry Entries...") != nullptr, "progress dialog's status line");
    const auto lines = Children(copy, "Static");
    Check(lines.size() == 2 && TextOf(lines[0]) + TextOf(lines[1]) == "Creating Registry Entries...",
          "progress dialog's file line is empty");
    RECT r;
    ::GetWindowRect(q.Box, &r);
    ::SetWindowPos(q.Box, nullptr, r.left, ::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top) - 40, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Repainted before the screenshot, not whenever the installer gets to it.
    for (HWND h : {TopWindow("TfrmMain"), copy})
        ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Screenshot("progress-registry");
}

// One installation from the welcome page to the installer's end; creates a
// missing destination when asked. Returns the day the run started on, which
// the log's time stamps carry.
std::string Install(const Wizard& w, const std::string& shots, const std::string& backup,
                    const std::string& shortcuts, bool lookAtProgress = false) {
    ToDestination(w);
    const std::string dest = TextOf(w.DestLabel());
    CheckEq(dest, DefaultDestination(), "destination");
    const bool existed = DirExists(dest);
    const std::string day = Today();
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    if (!existed) {
        Check(q.Text.rfind("The directory: ", 0) == 0, "creation question for a missing destination");
        Answer(q, "&Yes");
        q = WaitQuestion("Confirm");
    }
    // For an existing destination this is the first question: nothing asks to create it.
    CheckEq(q.Text, "Do you want to backup replaced files ?  ", "backup question");
    Screenshot(shots + "backup-question");
    Answer(q, backup);
    // An error would stop the run in the standard error box instead.
    WaitFor([&] { return (Visible(w.Setup) && w.OnFinish()) || TopWindow("TMessageForm") || TopWindow("#32770"); },
            "the run's question or its end");
    Check(!TopWindow("#32770"), "no error box during the run");
    // The question comes whatever the shortcut set holds; the run waits for it.
    Check(TopWindow("TMessageForm", "Confirm") != nullptr, "the run asks about shortcuts");
    if (lookAtProgress) LookAtProgressBehindQuestion();
    RunToFinish(w, shortcuts);
    Screenshot(shots + "finish");
    Check(!TopWindow("#32770"), "no error box at the end of the run");
    Click(w.NextButton());
    WaitGone(w.Main, "installer after Finish");
    return day;
}

// install.log as a whole, line by line: the start line, AppName, a Copy line
// for each file written, the RegKey line, the shortcut lines when made, the
// three fixed CreateFile lines and the closing line, nothing else.
void CheckLog(const std::string& dest, const std::string& day, const Names& copied, const std::string& regKey,
              bool shortcuts) {
    const std::string d = dest + "\\";
    const auto lines = ReadLogLines(d + "install.log");
    Names want{"AppName: KelpFTP"};
    for (const auto& n : copied) want.push_back("Copy: " + d + n);
    want.push_back("RegKey: " + regKey);
    if (shortcuts)
        for (const char* folder : kLinkFolders) want.push_back("CreateFile: " + ShellFolder(folder) + "\\KelpFTP.lnk");
    for (const char* n : {"kelpftp.ini", "kelpftp.log", "sites.ini"}) want.push_back("CreateFile: " + d + n);

    auto stamped = [&](const std::string& line, const std::string& tag) {
        const std::string value = line.rfind(tag, 0) == 0 ? line.substr(tag.size()) : "";
        Check(value == day || value.rfind(day + " ", 0) == 0, "'" + line + "' is " + tag + "<" + day + " time>");
    };
    Check(!lines.empty(), "install.log has lines");
    stamped(lines.front(), "*** Install started: ");
    for (size_t i = 0; i < want.size() && i + 1 < lines.size(); ++i)
        CheckEq(lines[i + 1], want[i], "install.log line " + std::to_string(i + 2));
    CheckEq(std::to_string(lines.size()), std::to_string(want.size() + 2), "install.log line count");
    stamped(lines.back(), "*** Install Completed: ");
}

// The files the run wrote hold the payload's bytes; the uninstaller is in the
// Windows directory.
void CheckInstalled(const Payload& payload, const std::string& dest, const Names& entries) {
    for (const auto& n : entries) CheckFile(dest + "\\" + n, payload[n], "installed " + n);
    CheckFile(WindowsDir() + "\\vezavu.exe", payload["vezavu.exe"], "uninstaller in the Windows directory");
}

// Backup holds exactly these files with these contents.
void CheckBackup(const std::string& dest, const std::vector<std::pair<std::string, std::string>>& files) {
    Names names;
    for (const auto& [name, bytes] : files) {
        CheckFile(dest + "\\Backup\\" + name, bytes, "backup of " + name);
        names.push_back(name);
    }
    CheckEq(Listing(dest + "\\Backup"), ListingOf(names), "files in Backup");
}

// The uninstall entry and the application path, for this destination.
void CheckRegistration(const std::string& dest) {
    const std::string d = dest + "\\";
    CheckEq(RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "KelpFTP", "DisplayName");
    CheckEq(RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
            Quoted(WindowsDir() + "\\vezavu.exe") + " " + d + "install.log", "UninstallString");
    CheckEq(RegValue(HKEY_LOCAL_MACHINE, kAppPathsKey, ""), d + "KelpFTP.exe", "App Paths default value");
    CheckEq(RegValue(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"), dest, "App Paths Path");
}

// The ftp handler after a run that registers it: the command starts the
// installed program; the icon is written only into a key that was there.
void CheckFtpHandler(const std::string& dest, bool iconExisted) {
    const std::string exe = dest + "\\KelpFTP.exe";
    CheckEq(RegValue(HKEY_CLASSES_ROOT, kFtpCommand, ""), Quoted(exe) + " " + Quoted("%1"), "ftp command");
    if (iconExisted)
        CheckEq(RegValue(HKEY_CLASSES_ROOT, kFtpIcon, ""), exe + ",0", "ftp icon");
    else
        Check(!RegKeyExists(HKEY_CLASSES_ROOT, kFtpIcon), "no ftp icon key created");
}

std::string LinkPath(const char* folder) { return ShellFolder(folder) + "\\KelpFTP.lnk"; }

void CheckShortcuts(const std::string& dest, bool made) {
    for (const char* folder : kLinkFolders) {
        if (!made) {
            Check(!FileExists(LinkPath(folder)), std::string("no shortcut in ") + folder);
            continue;
        }
        auto link = ReadShortcut(LinkPath(folder));
        Check(link.has_value(), std::string("shortcut in ") + folder + " loads");
        CheckEq(link->Target, dest + "\\KelpFTP.exe", std::string(folder) + " shortcut target");
    }
}

// The installer this driver was started beside, for a second run by the user.
std::string SetupExe() {
    char buf[MAX_PATH] = "";
    Check(::GetModuleFileNameA(nullptr, buf, sizeof buf) != 0, "driver's path");
    std::string path = buf;
    return path.substr(0, path.find_last_of('\\') + 1) + "Setup.exe";
}

void SitesIni(const std::string& arg) {
    const Payload payload = PayloadOf(arg);
    Wizard w = Start();
    const std::string dest = DefaultDestination();
    MakeDir(dest);
    WriteWholeFile(dest + "\\sites.ini", kUserSites);
    // An icon entry the system already has is taken over.
    SetRegString(HKEY_CLASSES_ROOT, kFtpIcon, "url.dll,0");

    const std::string day = Install(w, "", "&Yes", "&Yes");
    CheckFile(dest + "\\sites.ini", kUserSites, "the user's site list, kept");
    CheckBackup(dest, {});
    CheckInstalled(payload, dest, kWrittenKeepingSites);
    CheckEq(Listing(dest), ListingOf({"KelpFTP.exe", "KelpFTP.hlp", "README.TXT", "sites.ini", "whatsnew.txt",
                                      "install.log"}),
            "files in the destination");
    CheckLog(dest, day, kWrittenKeepingSites, kFtpCommand, true);
    CheckShortcuts(dest, true);
    CheckFtpHandler(dest, true);
}

void Backup(const std::string& arg) {
    const Payload payload = PayloadOf(arg);
    Wizard w = Start();
    const std::string dest = DefaultDestination();
    LayEarlierInstallation(dest, true);

    const std::string firstDay = Install(w, "1-", "&Yes", "&Yes");
    std::vector<std::pair<std::string, std::string>> saved;
    for (const auto& [disk, entry] : kEarlierFiles) saved.emplace_back(entry, EarlierContent(entry));
    CheckBackup(dest, saved);
    CheckInstalled(payload, dest, kWrittenKeepingSites);
    CheckFile(dest + "\\sites.ini", kUserSites, "the user's site list, kept");
    CheckFile(dest + "\\kelpftp.ini", kUserSettings, "the user's settings, not the archive's");
    Check(!FileExists(dest + "\\vezavu.exe"), "the old uninstaller left the destination for Backup");
    CheckLog(dest, firstDay, kWrittenKeepingSites, kFtpCommand, true);
    CheckFtpHandler(dest, false);

    // The user installs again over the same destination, with backup and
    // without shortcuts: the first run's files become the backups.
    Process again(SetupExe());
    Wizard w2 = Start();
    const std::string secondDay = Install(w2, "2-", "&Yes", "&No");
    CheckEq(std::to_string(again.WaitExit("second installer")), "0", "second installer's exit code");
    for (auto& [entry, bytes] : saved)
        if (Upper(entry) != "VEZAVU.EXE") bytes = payload[entry];  // the uninstaller was not in the destination again
    CheckBackup(dest, saved);
    CheckInstalled(payload, dest, kWrittenKeepingSites);
    CheckFile(dest + "\\sites.ini", kUserSites, "the user's site list, kept again");
    // The log is the second run's alone: the first one's was longer (its
    // shortcut lines), so any of its bytes left behind would show.
    CheckLog(dest, secondDay, kWrittenKeepingSites, kFtpCommand, false);
    CheckRegistration(dest);
}

void NoBackup(const std::string& arg) {
    const Payload payload = PayloadOf(arg);
    Wizard w = Start();
    const std::string dest = DefaultDestination();
    LayEarlierInstallation(dest, false);

    const std::string day = Install(w, "", "&No", "&No");
    Check(!DirExists(dest + "\\Backup"), "no Backup directory without backup");
    CheckInstalled(payload, dest, kWritten);
    // Nothing moved: the old uninstaller stays where it was, next to the user's settings.
    CheckFile(dest + "\\vezavu.exe", EarlierContent("vezavu.exe"), "the old uninstaller, untouched");
    CheckFile(dest + "\\kelpftp.ini", kUserSettings, "the user's settings");
    CheckEq(Listing(dest), ListingOf({"KelpFTP.exe", "KelpFTP.hlp", "README.TXT", "SITES.INI", "whatsnew.txt",
                                      "vezavu.exe", "kelpftp.ini", "install.log"}),
            "files in the destination");
    CheckLog(dest, day, kWritten, kFtpCommand, false);
}

void NoShortcuts(const std::string& arg) {
    const Payload payload = PayloadOf(arg);
    // The Desktop may be shared with other runs: start without their shortcut.
    ::DeleteFileA(LinkPath("Desktop").c_str());
    Check(!FileExists(LinkPath("Desktop")), "no shortcut on the Desktop beforehand");
    Wizard w = Start();
    const std::string dest = DefaultDestination();

    const std::string day = Install(w, "", "&No", "&No", true);
    CheckShortcuts(dest, false);
    CheckLog(dest, day, kWritten, kFtpCommand, false);
    CheckInstalled(payload, dest, kWritten);
    Check(!DirExists(dest + "\\Backup"), "no Backup directory without backup");
}

void NoFtpKey(const std::string& arg) {
    PayloadOf(arg);
    Check(RegKeyExists(HKEY_CLASSES_ROOT, "ftp"), "the system knows the ftp protocol beforehand");
    Check(::RegDeleteTreeA(HKEY_CLASSES_ROOT, "ftp") == ERROR_SUCCESS, "ftp protocol unregistered");
    Check(!RegKeyExists(HKEY_CLASSES_ROOT, "ftp"), "no ftp key before the run");
    Wizard w = Start();
    const std::string dest = DefaultDestination();

    const std::string day = Install(w, "", "&No", "&Yes");
    Check(!RegKeyExists(HKEY_CLASSES_ROOT, "ftp"), "nothing created under HKEY_CLASSES_ROOT\\ftp");
    // The log names the key it tried last, written or not.
    CheckLog(dest, day, kWritten, kFtpCommand, true);
    CheckRegistration(dest);
}

// The variant without the protocol handler and without any shortcut: the
// shortcut question is still put, and Yes makes nothing.
void NoRegExt(const std::string& arg) {
    PayloadOf(arg);
    // The system's own handler, icon included, which this variant leaves alone.
    SetRegString(HKEY_CLASSES_ROOT, kFtpIcon, "url.dll,0");
    const std::string icon = RegValue(HKEY_CLASSES_ROOT, kFtpIcon, "");
    const std::string command = RegValue(HKEY_CLASSES_ROOT, kFtpCommand, "");
    Check(command != "<missing>", "the system has an ftp command beforehand");
    Wizard w = Start();
    const std::string dest = DefaultDestination();

    const std::string day = Install(w, "", "&No", "&Yes");
    CheckEq(RegValue(HKEY_CLASSES_ROOT, kFtpIcon, ""), icon, "ftp icon untouched");
    CheckEq(RegValue(HKEY_CLASSES_ROOT, kFtpCommand, ""), command, "ftp command untouched");
    CheckShortcuts(dest, false);
    // RegKey names the application path key, the last one opened.
    CheckLog(dest, day, kWritten, kAppPathsKey, false);
    CheckRegistration(dest);
}

}  // namespace

KELP_E2E_SCENARIO(sitesini, SitesIni);
KELP_E2E_SCENARIO(backup, Backup);
KELP_E2E_SCENARIO(nobackup, NoBackup);
KELP_E2E_SCENARIO(noshortcuts, NoShortcuts);
KELP_E2E_SCENARIO(noftpkey, NoFtpKey);
KELP_E2E_SCENARIO(noregext, NoRegExt);

}  // namespace e2e
