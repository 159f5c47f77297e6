// Test driver: starts the uninstaller the way Windows starts an UninstallString,
// answers its question box, closes its other boxes, and prints what they said.
//   uninstall-driver [--answer yes|no] [--hold PATH]... [--shots DIR] (--key APPNAME | --command LINE)
// --key reads the command from the uninstall key (32-bit view); --hold keeps a file
// open without delete sharing while the uninstaller runs; --shots saves the screen
// as DIR\box-N.bmp before each box is answered, so we can see what users see. Output: one "box:" block
// per box, then "exit: <code>". Exit 0 when the uninstaller ended, 90+ otherwise.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "Driver.h"

namespace {

struct TBox {
    HWND Form = nullptr;
    std::string Caption, Text;
    std::vector<std::pair<HWND, std::string>> Buttons;
};

std::string WindowText(HWND h) {
    char buf[8192] = {};
    ::GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

std::string ClassOf(HWND h) {
    char buf[256] = {};
    ::GetClassNameA(h, buf, sizeof buf);
    return buf;
}

struct TFind {
    DWORD Pid;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<TFind*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    // Our own boxes, and the system's message box (the standard error box).
    std::string cls = ClassOf(h);
    if (pid == f->Pid && ::IsWindowVisible(h) && (cls == "TMessageForm" || cls == "#32770")) f->Found.push_back(h);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
    auto* box = reinterpret_cast<TBox*>(lp);
    std::string cls = ClassOf(h);
    if (_stricmp(cls.c_str(), "Static") == 0 && !WindowText(h).empty()) box->Text = WindowText(h);
    if (_stricmp(cls.c_str(), "Button") == 0) box->Buttons.push_back({h, WindowText(h)});
    return TRUE;
}

std::string ReadUninstallString(const std::string& app) {
    std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + app;
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &h) != ERROR_SUCCESS) return {};
    char buf[4096] = {};
    DWORD size = sizeof buf - 1, type = 0;
    LONG rc = ::RegQueryValueExA(h, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : std::string();
}

void Press(const TBox& box, const std::string& caption) {
    for (const auto& [h, text] : box.Buttons) {
        if (text != caption) continue;
        // As the button itself reports a click to its form.
        ::PostMessageA(box.Form, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
        return;
    }
    std::printf("driver: no button \"%s\" in box \"%s\"\n", caption.c_str(), box.Caption.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string answer = "&Yes", command, shots;
    std::vector<HANDLE> held;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--answer" && i + 1 < argc) {
            answer = std::string(argv[++i]) == "no" ? "&No" : "&Yes";
        } else if (a == "--hold" && i + 1 < argc) {
            HANDLE h = ::CreateFileA(argv[++i], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                std::printf("driver: cannot hold %s\n", argv[i]);
                return 91;
            }
            held.push_back(h);
        } else if (a == "--key" && i + 1 < argc) {
            command = ReadUninstallString(argv[++i]);
            if (command.empty()) {
                std::printf("driver: no UninstallString for %s\n", argv[i]);
                return 92;
            }
        } else if (a == "--shots" && i + 1 < argc) {
            shots = argv[++i];
        } else if (a == "--command" && i + 1 < argc) {
            command = argv[++i];
        } else {
            std::printf("driver: bad argument %s\n", a.c_str());
            return 93;
        }
    }
    std::printf("command: %s\n", command.c_str());
    std::fflush(stdout);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("driver: cannot start (error %lu)\n", ::GetLastError());
        return 94;
    }
    std::set<HWND> answered;
    // Generous bound so a hung uninstaller fails the test instead of blocking it.
    DWORD waited = 0;
    while (::WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
        waited += 50;
        if (waited > 120000) {
            std::printf("driver: the uninstaller did not end\n");
            ::TerminateProcess(pi.hProcess, 99);
            return 95;
        }
        TFind find{pi.dwProcessId, {}};
        ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&find));
        for (HWND form : find.Found) {
            if (answered.count(form)) continue;
            TBox box;
            box.Form = form;
            box.Caption = WindowText(form);
            ::EnumChildWindows(form, CollectChild, reinterpret_cast<LPARAM>(&box));
            if (box.Buttons.empty()) continue;  // still being built
            answered.insert(form);
            std::printf("box: %s\n%s\n--\n", box.Caption.c_str(), box.Text.c_str());
            std::fflush(stdout);
            if (!shots.empty()) {
                // Painted, buttons included, before it is taken; only the picture depends on it.
                ::RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                ::Sleep(300);
                e2e::SaveScreen(shots + "\\box-" + std::to_string(answered.size()) + ".bmp");
            }
            Press(box, box.Caption == "Confirm" ? answer : box.Buttons.front().second);
        }
    }
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    std::printf("exit: %lu\n", code);
    for (HANDLE h : held) ::CloseHandle(h);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 0;
}
