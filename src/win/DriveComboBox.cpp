#include "win/DriveComboBox.h"

#include <cctype>

namespace kelp {

namespace {
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
}

TDriveComboBox::TDriveComboBox(TWinControl* parent, TBounds bounds) : TWinControl(parent, bounds) {
    // The window's height includes the dropped-down list.
    TBounds b = bounds;
    b.Height = bounds.Height + 160;
    bounds_ = b;
    CreateSystem("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0);
    bounds_ = bounds;
    char cur[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, cur);
    drive_ = Lower(cur[0]);
    Fill();
}

void TDriveComboBox::Fill() {
    char buf[256] = "";
    ::GetLogicalDriveStringsA(sizeof buf, buf);
    for (const char* p = buf; *p; p += lstrlenA(p) + 1) {
        char letter = Lower(p[0]);
        std::string item{letter, ':'};
        char label[MAX_PATH] = "";
        UINT type = ::GetDriveTypeA(p);
        // Asking a removable drive for its label could wait for a medium.
        if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
            ::GetVolumeInformationA(p, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            item += std::string(" [") + label + "]";
        letters_ += letter;
        ::SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SelectCurrent();
}

void TDriveComboBox::SelectCurrent() {
    auto pos = letters_.find(drive_);
    ::SendMessageA(hwnd_, CB_SETCURSEL, pos == std::string::npos ? static_cast<WPARAM>(-1) : pos, 0);
}

void TDriveComboBox::SetDrive(char d) {
    d = Lower(d);
    if (d == drive_) return;
    drive_ = d;
    SelectCurrent();
    if (OnChange) OnChange(this);
}

void TDriveComboBox::CommandNotify(WORD code) {
    if (code != CBN_SELCHANGE) return;
    auto sel = ::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0);
    if (sel < 0 || static_cast<size_t>(sel) >= letters_.size()) return;
    char picked = letters_[static_cast<size_t>(sel)];
    if (OnClick) OnClick(this);
    if (picked == drive_) return;
    drive_ = picked;
    if (OnChange) OnChange(this);
}

}  // namespace kelp
