#include "win/DirectoryListBox.h"

#include <algorithm>
#include <cctype>

namespace kelp {

TDirectoryListBox::TDirectoryListBox(TWinControl* parent, TBounds bounds, int itemHeight)
    : TWinControl(parent, bounds) {
    CreateSystem("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                 WS_EX_CLIENTEDGE, true);
    ::SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, Scale(itemHeight));
    // Whole items only: trim the height to a multiple of the item height.
    RECT wr, cr;
    ::GetWindowRect(hwnd_, &wr);
    ::GetClientRect(hwnd_, &cr);
    int frame = (wr.bottom - wr.top) - cr.bottom;
    int rows = std::max(1, static_cast<int>(cr.bottom) / Scale(itemHeight));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, rows * Scale(itemHeight) + frame,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    char cur[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, cur);
    directory_ = Normalize(cur);
    Rebuild();
}

std::string TDirectoryListBox::Normalize(const std::string& dir) {
    char full[MAX_PATH] = "";
    DWORD n = ::GetFullPathNameA(dir.c_str(), MAX_PATH, full, nullptr);
    std::string s = (n > 0 && n < MAX_PATH) ? std::string(full, n) : dir;
    while (s.size() > 3 && s.back() == '\\') s.pop_back();
    if (s.size() == 2 && s[1] == ':') s += '\\';
    if (s.size() >= 2 && s[1] == ':') s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

void TDirectoryListBox::SetDirectory(const std::string& dir) {
    std::string d = Normalize(dir);
    if (d == directory_) return;
    directory_ = d;
    Rebuild();
    if (OnChange) OnChange(this);
}

void TDirectoryListBox::SetDrive(char d) {
    if (directory_.empty() || std::tolower(static_cast<unsigned char>(d)) ==
                                  std::tolower(static_cast<unsigned char>(directory_[0])))
        return;
    // "x:" alone names that drive's current directory.
    SetDirectory(std::string{d, ':'});
}

void TDirectoryListBox::Rebuild() {
    chain_.clear();
    subdirs_.clear();
    std::string rest = directory_;
    if (rest.size() >= 3) {
        chain_.push_back(rest.substr(0, 3));
        size_t start = 3;
        while (start < rest.size()) {
            size_t end = rest.find('\\', start);
            if (end == std::string::npos) end = rest.size();
            chain_.push_back(rest.substr(start, end - start));
            start = end + 1;
        }
    } else {
        chain_.push_back(rest);
    }
    std::string pattern = directory_ + (directory_.back() == '\\' ? "*" : "\\*");
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(pattern.c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
                subdirs_.push_back(name);
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    std::sort(subdirs_.begin(), subdirs_.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });

    ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
    for (auto& c : chain_) ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.c_str()));
    for (auto& s : subdirs_) ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    ::SendMessageA(hwnd_, LB_SETCURSEL, chain_.size() - 1, 0);
    ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

std::string TDirectoryListBox::ItemPath(int index) const {
    if (index < 0) return directory_;
    size_t i = static_cast<size_t>(index);
    if (i < chain_.size()) {
        std::string p = chain_[0];
        for (size_t k = 1; k <= i; ++k) p += (p.back() == '\\' ? "" : "\\") + chain_[k];
        return p;
    }
    i -= chain_.size();
    if (i >= subdirs_.size()) return directory_;
    return directory_ + (directory_.back() == '\\' ? "" : "\\") + subdirs_[i];
}

void TDirectoryListBox::OpenItem(int index) { SetDirectory(ItemPath(index)); }

void TDirectoryListBox::CommandNotify(WORD code) {
    if (code == LBN_DBLCLK) OpenItem(static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)));
}

LRESULT TDirectoryListBox::SubclassProc(UINT msg, WPARAM wp, LPARAM, bool& handled) {
    // Enter opens the selected entry rather than pressing the dialog's default button.
    if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
        handled = true;
        return DLGC_WANTALLKEYS;
    }
    if (msg == WM_KEYDOWN && wp == VK_RETURN) {
        handled = true;
        OpenItem(static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)));
        return 0;
    }
    handled = false;
    return 0;
}

bool TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& di) {
    if (di.itemID == static_cast<UINT>(-1)) return true;
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    bool selected = di.itemState & ODS_SELECTED;
    ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    size_t i = di.itemID;
    int level = i < chain_.size() ? static_cast<int>(i) : static_cast<int>(chain_.size());
    bool open = i < chain_.size();
    int x = r.left + Scale(2) + level * Scale(7);
    int h = r.bottom - r.top;
    // A small folder: tab and body, drawn open for the chain of the listed path.
    RECT body{x, r.top + h / 4 + 1, x + Scale(14), r.bottom - h / 6};
    RECT tab{x, body.top - Scale(2), x + Scale(6), body.top};
    HBRUSH fill = ::CreateSolidBrush(open ? RGB(255, 236, 139) : RGB(230, 196, 80));
    ::FillRect(dc, &tab, fill);
    ::FillRect(dc, &body, fill);
    ::FrameRect(dc, &body, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    ::DeleteObject(fill);
    char text[MAX_PATH] = "";
    ::SendMessageA(hwnd_, LB_GETTEXT, di.itemID, reinterpret_cast<LPARAM>(text));
    RECT tr = r;
    tr.left = x + Scale(18);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ old = ::SelectObject(dc, font_);
    ::DrawTextA(dc, text, -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(dc, old);
    if (di.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &r);
    return true;
}

}  // namespace kelp
