#include "Wizard.h"

namespace e2e {

HWND Wizard::NextButton() const {
    HWND b = Child(Setup, "Button", "&Next >>");
    return b ? b : WaitChild(Setup, "Button", "Finish");
}
HWND Wizard::Cancel() const { return WaitChild(Setup, "Button", "&Cancel"); }
bool Wizard::OnDestination() const { return Child(Setup, "Button", "&Browse") != nullptr; }
bool Wizard::OnCustom() const { return Child(Setup, "Edit") != nullptr; }
bool Wizard::OnFinish() const { return Child(Setup, "Button", "View the README file now") != nullptr; }
HWND Wizard::DestLabel() const { return WaitChild(Setup, "TDirLabel"); }

std::string ProgramFilesDir() {
    HKEY k;
    std::string v = "C:\\Program Files";
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &k) == 0) {
        char buf[MAX_PATH] = "";
        DWORD size = sizeof buf, type = 0;
        if (::RegQueryValueExA(k, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == 0 &&
            type == REG_SZ)
            v = buf;
        ::RegCloseKey(k);
    }
    return v;
}

std::string DefaultDestination() { return ProgramFilesDir() + "\\KelpFTP"; }

bool DirExists(const std::string& p) {
    DWORD a = ::GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& p) {
    DWORD a = ::GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

Wizard Start() {
    Wizard w;
    w.Main = WaitTopWindow("TfrmMain");
    w.Setup = WaitTopWindow("TfrmSetup");
    WaitChild(w.Setup, "Button", "&Next >>");
    return w;
}

void ToDestination(const Wizard& w) {
    Click(w.NextButton());
    WaitFor([&] { return w.OnDestination(); }, "destination page");
}

void RunToFinish(const Wizard& w, const std::string& shortcutAnswer) {
    WaitFor([&] { return (Visible(w.Setup) && w.OnFinish()) || TopWindow("TMessageForm", "Confirm"); },
            "finish page or a question of the run");
    if (!(Visible(w.Setup) && w.OnFinish())) {
        Question q = WaitQuestion("Confirm");
        CheckEq(q.Text, "Create shortcuts on the Desktop and Programs menu ?", "shortcut question");
        Screenshot("run-shortcut-question");
        Answer(q, shortcutAnswer);
    }
    WaitFor([&] { return Visible(w.Setup) && w.OnFinish(); }, "finish page");
}

void CancelConfirmed(const Wizard& w) {
    Click(w.Cancel());
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to cancel Setup?", "cancel question");
    Answer(q, "&Yes");
    WaitGone(w.Main, "background window");
}

std::string StartRun(const Wizard& w, const std::string& backupAnswer) {
    ToDestination(w);
    const std::string dest = TextOf(w.DestLabel());
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    Check(q.Text.rfind("The directory: ", 0) == 0, "creation question: " + q.Text);
    Answer(q, "&Yes");
    q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Do you want to backup replaced files ?  ", "backup question");
    Answer(q, backupAnswer);
    return dest;
}

std::string InstallWithDefaults() {
    Wizard w = Start();
    const std::string dest = StartRun(w, "&Yes");
    RunToFinish(w, "&Yes");
    Click(w.NextButton());
    WaitGone(w.Main, "background window after Finish");
    return dest;
}

void WaitText(HWND h, const std::string& want, const std::string& what) {
    WaitFor([&] { return TextOf(h) == want; }, what + " reads " + want);
    CheckEq(TextOf(h), want, what);
}

Process::Process(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;  // CreateProcessA may write into it
    Check(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE,
          "started " + commandLine);
    ::CloseHandle(pi.hThread);
    handle_ = pi.hProcess;
}

Process::~Process() {
    if (handle_) ::CloseHandle(handle_);
}

DWORD Process::WaitExit(const std::string& what) const {
    WaitFor([&] { return ::WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, what + " ended");
    DWORD code = 0;
    ::GetExitCodeProcess(handle_, &code);
    return code;
}

}  // namespace e2e
