#include "win/Application.h"

#include <commctrl.h>

#include "win/Form.h"

namespace kelp {

TApplication Application;

namespace {
LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // The task bar button's Close goes to the main form like any other close.
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) {
        if (TForm* f = Application.MainForm()) f->Close();
        return 0;
    }
    if (msg == WM_CLOSE) {
        if (TForm* f = Application.MainForm()) f->Close();
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = inst;
    wc.hIcon = ::LoadIconA(inst, "MAINICON");
    wc.lpszClassName = "TApplication";
    ::RegisterClassExA(&wc);
    handle_ = ::CreateWindowExA(0, "TApplication", title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                                nullptr, nullptr, inst, nullptr);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) ::SetWindowTextA(handle_, title.c_str());
}

void TApplication::FormCreated(TForm* form) {
    if (!mainForm_) mainForm_ = form;
}

void TApplication::HandleMessage(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && dynamic_cast<TForm*>(TWinControl::FromHandle(root)) && ::IsDialogMessageA(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

void TApplication::Run() {
    // The task bar button; the window itself has no size.
    if (handle_) ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) {
            terminated_ = true;
            break;
        }
        HandleMessage(msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the loop that owns it.
            terminated_ = true;
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HandleMessage(msg);
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

std::string TApplication::ErrorText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

void TApplication::ShowException(const std::exception& e) {
    HWND owner = ::GetActiveWindow();
    ::MessageBoxA(owner, ErrorText(e.what()).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace kelp
