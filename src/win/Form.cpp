#include "win/Form.h"

#include "win/Application.h"
#include "win/StdCtrls.h"

namespace kelp {

namespace {
DWORD StyleOf(TBorderStyle b) {
    switch (b) {
    case TBorderStyle::bsSingle: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
    case TBorderStyle::bsDialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case TBorderStyle::bsFixedNoMenu: return WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    }
    return WS_POPUP;
}
DWORD ExStyleOf(const TFormSpec& s) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (s.Border != TBorderStyle::bsSingle) ex |= WS_EX_DLGMODALFRAME;
    if (s.TopMost) ex |= WS_EX_TOPMOST;
    return ex;
}
BOOL CALLBACK CollectEnabledWindow(HWND h, LPARAM p) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(p);
    if (::IsWindowVisible(h) && ::IsWindowEnabled(h)) list->push_back(h);
    return TRUE;
}
}  // namespace

TForm::TForm(const TFormSpec& layout, TForm* owner) : TWinControl(nullptr, {}), layout_(layout) {
    visible_ = false;
    HWND ownerHwnd = owner ? owner->Handle() : Application.Handle();
    CreateOwn(layout.ClassName, layout.Caption, StyleOf(layout.Border) | WS_CLIPCHILDREN, ExStyleOf(layout), ownerHwnd,
              RECT{0, 0, 100, 100});
    font_ = FontHandle(layout.Font);
    Resize(layout.ClientWidth, layout.ClientHeight);
    Application.FormCreated(this);
}

TForm::~TForm() {
    // Children go with the window; their objects then find no handle to destroy.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void TForm::Resize(int clientWidth, int clientHeight) {
    RECT r = ScaleRect(0, 0, clientWidth, clientHeight);
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = 0, y = 0;
    if (layout_.Position == TPosition::poScreenCenter) {
        x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    ::SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

TControl* TForm::FindComponent(const std::string& name) const {
    for (auto& c : components_)
        if (c->Name == name) return c.get();
    return nullptr;
}

void TForm::SetVisible(bool v) {
    visible_ = v;
    if (!hwnd_) return;
    if (v) {
        ::ShowWindow(hwnd_, SW_SHOWNORMAL);
        ::SetForegroundWindow(hwnd_);
    } else {
        ::ShowWindow(hwnd_, SW_HIDE);
    }
}

void TForm::Repaint() {
    if (hwnd_) ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TForm::Close() {
    if (hwnd_) ::SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

int TForm::ShowModal() {
    // A question after a termination request gets no answer.
    if (Application.Terminated()) return mrNone;
    HWND previous = ::GetActiveWindow();
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, hwnd_);
    for (HWND h : disabled) ::EnableWindow(h, FALSE);

    ModalResult = mrNone;
    inModal_ = true;
    Show();
    MSG msg;
    while (ModalResult == mrNone) {
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) {
            // The quit belongs to the main loop: put it back and give up the question.
            Application.Terminate();
            break;
        }
        Application.HandleMessage(msg);
        if (Application.Terminated()) break;
    }
    inModal_ = false;
    for (HWND h : disabled)
        if (::IsWindow(h)) ::EnableWindow(h, TRUE);
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
    visible_ = false;
    if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
    return ModalResult;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE: {
        bool canClose = true;
        if (OnCloseQuery) OnCloseQuery(canClose);
        if (!canClose) return 0;
        if (inModal_) {
            if (ModalResult == mrNone) ModalResult = mrCancel;
        } else if (Application.MainForm() == this) {
            Application.Terminate();
        } else {
            Hide();
        }
        return 0;
    }
    case WM_QUERYENDSESSION: {
        bool canClose = true;
        if (OnCloseQuery) OnCloseQuery(canClose);
        return canClose;
    }
    case DM_GETDEFID:
        if (DefaultButton && DefaultButton->Handle())
            return MAKELONG(DefaultButton->ControlId(), DC_HASDEFID);
        return 0;
    case WM_COMMAND:
        // Enter and Esc from the dialog keys arrive without a control handle.
        if (lp == 0 || !FromHandle(reinterpret_cast<HWND>(lp))) {
            WORD id = LOWORD(wp);
            TButton* b = nullptr;
            if (id == IDCANCEL) b = CancelButton;
            else if (id == IDOK || (DefaultButton && id == DefaultButton->ControlId())) b = DefaultButton;
            if (b && b->Enabled()) SafeCall([b] { b->Click(); });
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = ::GetFocus();
            if (f && ::IsChild(hwnd_, f)) lastFocus_ = f;
        } else {
            if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_))
                ::SetFocus(lastFocus_);
            else if (ActiveControl && ActiveControl->Handle() && ::IsWindowVisible(ActiveControl->Handle()))
                ::SetFocus(ActiveControl->Handle());
            else if (HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE))
                ::SetFocus(first);
        }
        return 0;
    case WM_SETFOCUS:
        if (HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE)) ::SetFocus(first);
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace kelp
