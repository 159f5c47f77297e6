// kelp_gui_checks: the GUI library's and the browser's behaviour checked inside
// one Windows process (no user needed). Prints "N passed, N failed".
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/SetupCtl.h"
#include "shell/BrowseFrm.h"
#include "win/Application.h"
#include "win/DirLabel.h"
#include "win/DirectoryListBox.h"
#include "win/DriveComboBox.h"
#include "win/FileCtrl.h"
#include "win/Gradient.h"
#include "win/MessageDlg.h"
#include "win/Registry.h"

using namespace kelp;

namespace {
int passed = 0, failed = 0;

void Expect(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

void ExpectEq(const std::string& got, const std::string& want, const std::string& what) {
    Expect(got == want, what + ": got \"" + got + "\", want \"" + want + "\"");
}

std::string Raised(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(nothing raised)";
}

std::string TempDir() {
    char buf[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, buf);
    std::string d = std::string(buf) + "kelp-gui-checks";
    return d;
}

void ErrorBoxText() {
    ExpectEq(TApplication::ErrorText("Unable to create directory"), "Unable to create directory.", "period added");
    ExpectEq(TApplication::ErrorText("Done."), "Done.", "no second period");
    ExpectEq(TApplication::ErrorText("Why!"), "Why!", "'!' is below '.': nothing added");
    ExpectEq(TApplication::ErrorText("C:\\"), "C:\\.", "'\\' is above '.': period added");
    ExpectEq(TApplication::ErrorText(""), "", "empty message stays empty");
}

void Directories() {
    ExpectEq(Raised([] { ForceDirectories(""); }), "Unable to create directory", "empty path raises");
    ExpectEq(Raised([] { ForceDirectories("\\"); }), "Unable to create directory", "a lone backslash strips to empty");
    std::string root = TempDir();
    std::string deep = root + "\\a\\b\\c";
    ForceDirectories(deep + "\\");
    Expect(DirectoryExists(deep), "force-create makes every missing parent");
    Expect(!DirectoryExists(deep + "\\missing"), "a missing directory does not exist");
    std::string file = root + "\\file.txt";
    HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(h);
    Expect(!DirectoryExists(file), "a file is not a directory");
    ExpectEq(Raised([&] { ForceDirectories(file + "\\sub"); }), "(nothing raised)",
             "a directory that cannot be made is not reported");
}

void Gradient() {
    Expect(TGradient::BandColor(RGB(0, 0, 255), RGB(0, 0, 0), 0) == RGB(0, 0, 255), "band 0 is ColorStart");
    Expect(TGradient::BandColor(RGB(0, 0, 255), RGB(0, 0, 0), 255) == RGB(0, 0, 0), "band 255 is ColorEnd");
    Expect(TGradient::BandColor(RGB(0, 0, 0), RGB(0, 0, 255), 128) == RGB(0, 0, 128), "bands in between blend");
}

void Registry() {
    const std::string key = "Software\\KelpGuiChecks";
    TRegistry reg(HKEY_CURRENT_USER);
    Expect(!reg.OpenKey(key + "\\Absent", false), "a missing key does not open without creating");
    Expect(reg.OpenKey(key, true), "key created");
    reg.WriteString("Name", "KelpFTP");
    reg.WriteString("", "default");
    ExpectEq(reg.ReadString("Name"), "KelpFTP", "string read back");
    ExpectEq(reg.ReadString(""), "default", "default value read back");
    ExpectEq(reg.ReadString("Absent"), "", "missing value reads empty");
    DWORD n = 5;
    ::RegSetValueExA(reg.CurrentKey(), "Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&n), sizeof n);
    ExpectEq(Raised([&] { reg.ReadString("Number"); }), "Invalid data type for 'Number'", "non-string raises");
    reg.CloseKey();
    ExpectEq(Raised([&] { reg.WriteString("Path", "x"); }), "Failed to set data for 'Path'", "no open key raises");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

void SetupValues() {
    TSetupControl sc;
    sc.LoadFromResource(nullptr);  // none in this program
}

void SetupRecord() {
    TSetupControl sc;
    sc.LoadFromText("ProgramName=KelpFTP\r\nCaptionName=KelpFTP 2.61\r\nTargetPath=%\\KelpFTP\r\nCustom=True\r\n"
                    "RegisterExt=False\r\n");
    ExpectEq(sc.ProgramName, "KelpFTP", "ProgramName");
    ExpectEq(sc.CaptionName, "KelpFTP 2.61", "CaptionName keeps its blank");
    ExpectEq(sc.TargetPath, "%\\KelpFTP", "TargetPath");
    Expect(sc.Custom && !sc.RegisterExt, "booleans");
    ExpectEq(Raised([] { TSetupControl s; s.LoadFromText("Custom=Yes"); }), "Bad setup value for Custom: Yes",
             "a bad boolean is refused");
    ExpectEq(Raised([] { TSetupControl s; s.LoadFromText("Colour=Blue"); }), "Unknown setup value: Colour",
             "an unknown name is refused");
    ExpectEq(Raised(SetupValues), "Resource SETUPCONTROL not found", "missing resource raises");
}

void Controls() {
    TfrmBrowse form;  // a hidden form to put controls on
    TDirectoryListBox& list = *form.DirectoryBox;
    int changes = 0;
    list.OnChange = [&](TControl*) { ++changes; };
    list.SetDirectory("C:\\windows\\");
    ExpectEq(list.Directory(), "C:\\windows", "listed directory has no final backslash");
    Expect(changes == 1, "a new directory notifies once");
    list.SetDirectory("C:\\windows");
    Expect(changes == 1, "the same directory does not notify");
    list.SetDrive('c');
    Expect(changes == 1, "the same drive changes nothing");
    ExpectEq(list.ItemPath(0), "C:\\", "first entry is the drive root");
    ExpectEq(list.ItemPath(1), "C:\\windows", "then the chain down to the listed directory");
    list.SetDirectory("C:\\");
    ExpectEq(list.Directory(), "C:\\", "a drive root keeps its backslash");
    Expect(changes == 2, "second change notified");

    TDriveComboBox& drives = *form.DriveBox;
    int clicks = 0, driveChanges = 0;
    drives.OnClick = [&](TControl*) { ++clicks; };
    drives.OnChange = [&](TControl*) { ++driveChanges; };
    char start = drives.Drive();
    Expect(start >= 'a' && start <= 'z', "the current drive is one lower-case letter");
    drives.SetDrive(static_cast<char>(start - 'a' + 'A'));
    Expect(driveChanges == 0 && clicks == 0, "setting the same drive raises nothing");
    drives.SetDrive(start == 'z' ? 'c' : 'z');
    Expect(driveChanges == 1 && clicks == 0, "setting another drive from code raises only the change");

    TDirLabel label(&form, TBounds{0, 0, 60, 16});
    const std::string longPath = "C:\\Program Files\\Some Vendor\\Some Product\\KelpFTP";
    label.SetDirName(longPath);
    ExpectEq(label.DirName(), longPath, "DirName gives back the full path");
    HDC dc = ::GetDC(nullptr);
    std::string shown = TDirLabel::Shorten(dc, longPath, 80);
    ::ReleaseDC(nullptr, dc);
    Expect(shown.find("...") != std::string::npos && shown.size() < longPath.size(), "shown shortened with ...");
}

void BrowsePathField() {
    TfrmBrowse form;
    ExpectEq(form.txtPath->Text(), form.DirectoryBox->Directory(), "FolderName empty: the listed directory");
    form.FolderName = "KelpFTP";
    form.DirectoryBox->SetDirectory("C:\\windows");
    ExpectEq(form.txtPath->Text(), "C:\\windows\\KelpFTP", "directory joined with the folder");
    form.DirectoryBox->SetDirectory("C:\\");
    ExpectEq(form.txtPath->Text(), "C:\\KelpFTP", "a root gives a single backslash");
    form.DirectoryBox->SetDirectory("C:\\windows");
    form.btnOKClick(form.btnOK);
    ExpectEq(form.SelectedPath, "C:\\windows\\KelpFTP", "OK takes the path field");
    ::SendMessageA(form.txtPath->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
    form.btnOKClick(form.btnOK);
    ExpectEq(form.SelectedPath, "typed", "typed text is not validated");
}

void AfterTermination() {
    Application.Terminate();
    Expect(Application.Terminated(), "the flag is set at once");
    Expect(ConfirmBox("Still there?") == mrNone, "a question after termination gets no answer");
    Expect(::FindWindowA("TMessageForm", nullptr) == nullptr, "and no box was shown");
}
}  // namespace

int main() {
    Application.SetTitle("Setup");
    Application.Initialize();
    ErrorBoxText();
    Directories();
    Gradient();
    Registry();
    SetupRecord();
    Controls();
    BrowsePathField();
    AfterTermination();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
