#include "win/Control.h"

#include <commctrl.h>

#include <set>

#include "win/Application.h"
#include "win/Form.h"

namespace kelp {

namespace {
const char kObjectProp[] = "KelpControl";
int nextControlId = 100;  // clear of IDOK/IDCANCEL, which dialog keys send
}

void SafeCall(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        Application.ShowException(e);
    } catch (...) {
        Application.ShowException(Exception("Unknown error"));
    }
}

TControl::TControl(TWinControl* parent, TBounds bounds) : parent_(parent), bounds_(bounds) {}

TForm* TControl::OwnerForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

RECT TControl::PixelRect() const { return ScaleRect(bounds_.Left, bounds_.Top, bounds_.Width, bounds_.Height); }

void TControl::SetBounds(TBounds b) {
    Invalidate();
    bounds_ = b;
    Invalidate();
}

void TControl::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Invalidate();
}

void TControl::Invalidate() {
    if (parent_ && parent_->Handle()) {
        RECT r = PixelRect();
        ::InvalidateRect(parent_->Handle(), &r, FALSE);
    }
}

TWinControl::TWinControl(TWinControl* parent, TBounds bounds) : TControl(parent, bounds) {}

TWinControl::~TWinControl() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TWinControl*>(::GetPropA(hwnd, kObjectProp)) : nullptr;
}

void TWinControl::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    ::SetPropA(hwnd, kObjectProp, this);
}

void TWinControl::CreateOwn(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                            HWND parentOrOwner, RECT rect) {
    static std::set<std::string> registered;
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    if (!registered.count(className)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = inst;
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hIcon = ::LoadIconA(inst, "MAINICON");
        wc.lpszClassName = className;
        if (!::RegisterClassExA(&wc)) throw Exception("Cannot register window class " + std::string(className));
        registered.insert(className);
    }
    HMENU menu = nullptr;
    if (style & WS_CHILD) {
        id_ = nextControlId++;
        menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
    }
    HWND h = ::CreateWindowExA(exStyle, className, text.c_str(), style, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parentOrOwner, menu, inst, this);
    if (!h) throw Exception("Cannot create window " + std::string(className));
    font_ = DefaultFont();
}

void TWinControl::CreateSystem(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                               bool subclass) {
    RECT r = PixelRect();
    id_ = nextControlId++;
    HWND h = ::CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | (visible_ ? WS_VISIBLE : 0),
                               r.left, r.top, r.right - r.left, r.bottom - r.top, parent_->Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), ::GetModuleHandleA(nullptr),
                               nullptr);
    if (!h) throw Exception("Cannot create control " + std::string(className));
    Attach(h);
    if (subclass) ::SetWindowSubclass(h, StaticSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetFont(parent_->Font() ? parent_->Font() : DefaultFont());
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* self = FromHandle(hwnd);
    if (msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->Attach(hwnd);
    }
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::RemovePropA(hwnd, kObjectProp);
        self->hwnd_ = nullptr;
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool done = false;
    try {
        result = self->WndProc(msg, wp, lp);
        done = true;
    } catch (const std::exception& e) {
        Application.ShowException(e);
    }
    return done ? result : 0;
}

LRESULT CALLBACK TWinControl::StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<TWinControl*>(data);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, StaticSubclassProc, 1);
        ::RemovePropA(hwnd, kObjectProp);
        self->hwnd_ = nullptr;
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
    bool handled = false;
    LRESULT r = 0;
    SafeCall([&] { r = self->SubclassProc(msg, wp, lp, handled); });
    return handled ? r : ::DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = false;
    LRESULT r = ContainerMessage(msg, wp, lp, handled);
    return handled ? r : ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void TWinControl::PaintBackground(HDC dc, const RECT& client) {
    HBRUSH b = ::CreateSolidBrush(Color);
    ::FillRect(dc, &client, b);
    ::DeleteObject(b);
}

void TWinControl::PaintContainer() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    int w = client.right, h = client.bottom;
    if (w > 0 && h > 0) {
        // Paint off screen so labels over a gradient do not flicker.
        HDC mem = ::CreateCompatibleDC(dc);
        HBITMAP bmp = ::CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
        PaintBackground(mem, client);
        for (TControl* g : graphics_) {
            if (!g->Visible()) continue;
            RECT r = g->PixelRect(), dummy;
            if (!::IntersectRect(&dummy, &r, &ps.rcPaint)) continue;
            int saved = ::SaveDC(mem);
            ::IntersectClipRect(mem, r.left, r.top, r.right, r.bottom);
            g->Paint(mem, r);
            ::RestoreDC(mem, saved);
        }
        ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        ::SelectObject(mem, oldBmp);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
    }
    ::EndPaint(hwnd_, &ps);
}

LRESULT TWinControl::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_PAINT:
        PaintContainer();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
            WORD code = HIWORD(wp);
            SafeCall([&] { c->CommandNotify(code); });
            return 0;
        }
        break;
    case WM_DRAWITEM:
        if (TWinControl* c = FromHandle(reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem))
            return c->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Check boxes and read-only edits take the face colour of the panel they sit on.
        HWND child = reinterpret_cast<HWND>(lp);
        char cls[16] = "";
        ::GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) break;
        static HBRUSH brush = nullptr;
        static COLORREF brushColor = CLR_INVALID;
        if (brushColor != Color) {
            if (brush) ::DeleteObject(brush);
            brush = ::CreateSolidBrush(Color);
            brushColor = Color;
        }
        ::SetBkColor(reinterpret_cast<HDC>(wp), Color);
        return reinterpret_cast<LRESULT>(brush);
    }
    default:
        break;
    }
    handled = false;
    return 0;
}

void TWinControl::SetBounds(TBounds b) {
    bounds_ = b;
    if (hwnd_) {
        RECT r = PixelRect();
        ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TWinControl::SetVisible(bool v) {
    visible_ = v;
    if (hwnd_) ::ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
}

void TWinControl::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

bool TWinControl::Enabled() const { return hwnd_ && ::IsWindowEnabled(hwnd_); }
void TWinControl::SetEnabled(bool e) {
    if (hwnd_) ::EnableWindow(hwnd_, e);
}

std::string TWinControl::Text() const {
    if (!hwnd_) return {};
    int n = ::GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

void TWinControl::SetText(const std::string& text) {
    if (hwnd_) ::SetWindowTextA(hwnd_, text.c_str());
}

void TWinControl::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const { return hwnd_ && ::GetFocus() == hwnd_; }

void TWinControl::SetFont(HFONT font) {
    font_ = font;
    if (hwnd_) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace kelp
