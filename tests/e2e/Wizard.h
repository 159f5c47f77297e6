// The installer's wizard as the scenarios see it, and the steps most of them share.
#pragma once
#include <windows.h>

#include <string>

#include "Driver.h"

namespace e2e {

struct Wizard {
    HWND Main;
    HWND Setup;
    HWND NextButton() const;
    HWND Cancel() const;
    bool OnDestination() const;
    bool OnCustom() const;
    bool OnFinish() const;
    HWND DestLabel() const;
};

// The Program Files directory the installer proposes (x86 or not, as Windows says).
std::string ProgramFilesDir();
std::string DefaultDestination();  // ProgramFilesDir() + "\KelpFTP"
bool DirExists(const std::string& path);
bool FileExists(const std::string& path);

// Waits for the wizard of a running installer on its welcome page.
Wizard Start();
void ToDestination(const Wizard& w);
// From the finish page or a question of the installation run (shortcuts) on:
// answers the shortcut question when it comes and waits for the finish page.
void RunToFinish(const Wizard& w, const std::string& shortcutAnswer);
void CancelConfirmed(const Wizard& w);
// From the welcome page into the installation run for a destination that does
// not exist yet: Next, Next, create it (Yes), then the backup answer. Returns the destination.
std::string StartRun(const Wizard& w, const std::string& backupAnswer);
// The whole default installation as a user accepting every proposal makes it:
// destination created, backup Yes, shortcuts Yes, Finish. Returns the destination.
std::string InstallWithDefaults();
void WaitText(HWND h, const std::string& want, const std::string& what);

// A program the scenario starts itself, e.g. a second Setup.exe run by the user.
class Process {
public:
    explicit Process(const std::string& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Waits for the end (a deadline turns a hang into a failure), returns the exit code.
    DWORD WaitExit(const std::string& what) const;

private:
    HANDLE handle_ = nullptr;
};

}  // namespace e2e
