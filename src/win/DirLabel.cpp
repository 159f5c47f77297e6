#include "win/DirLabel.h"

#include <vector>

namespace kelp {

TDirLabel::TDirLabel(TWinControl* parent, TBounds bounds) : TWinControl(parent, bounds) {
    CreateOwn("TDirLabel", "", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), PixelRect());
    font_ = parent->Font();
    Color = parent->Color;
}

std::string TDirLabel::Shorten(HDC dc, const std::string& path, int width) {
    std::vector<char> buf(path.begin(), path.end());
    buf.resize(path.size() + 8, '\0');
    RECT r{0, 0, width, 100};
    // The system's own path ellipsis keeps the drive and the last folder in sight.
    ::DrawTextA(dc, buf.data(), -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    return std::string(buf.data());
}

LRESULT TDirLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETTEXT: {
        LRESULT r = ::DefWindowProcA(hwnd_, msg, wp, lp);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        return r;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd_, &ps);
        RECT rc;
        ::GetClientRect(hwnd_, &rc);
        HBRUSH b = ::CreateSolidBrush(Color);
        ::FillRect(dc, &rc, b);
        ::DeleteObject(b);
        HGDIOBJ old = ::SelectObject(dc, font_);
        std::string shown = Shorten(dc, Text(), rc.right);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &rc, DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::EndPaint(hwnd_, &ps);
        return 0;
    }
    default:
        return ::DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

}  // namespace kelp
