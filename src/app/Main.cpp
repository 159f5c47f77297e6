#include "app/Main.h"

#include "app/Copy.h"
#include "app/MainLayout.h"
#include "app/Setup.h"
#include "win/Application.h"
#include "win/FileCtrl.h"
#include "win/MessageDlg.h"
#include "win/Registry.h"

namespace kelp {

TfrmMain* frmMain = nullptr;
TfrmCopy* frmCopy = nullptr;
TfrmSetup* frmSetup = nullptr;
TStringList* FileList = nullptr;
std::string WinDir;

std::string GetProgramFilesDir() {
    try {
        TRegistry reg(HKEY_LOCAL_MACHINE, KEY_READ);
        if (reg.OpenKeyReadOnly("Software\\Microsoft\\Windows\\CurrentVersion") && reg.ValueExists("ProgramFilesDir"))
            return reg.ReadString("ProgramFilesDir");
    } catch (const ERegistryFailure&) {
        // Not a string: fall through to the usual place.
    }
    return "C:\\Program Files";
}

TfrmMain::TfrmMain() : TForm(MainFormSpec(), nullptr) {
    BuildLayout(*this, MainLayout());
    Grad = Find<TGradient>("Grad");
    lblBottom = Find<TLabel>("lblBottom");
    lblTop = Find<TLabel>("lblTop");
    SetupControl.Name = "SetupControl";
    SetupControl.LoadFromResource(::GetModuleHandleA(nullptr));
    OnCloseQuery = [this](bool& CanClose) { FormCloseQuery(CanClose); };
    FormCreate();
}

TfrmMain::~TfrmMain() {
    setup_.reset();
    frmSetup = nullptr;
    FormDestroy();
}

void TfrmMain::FormCreate() {
    CurrentPage = 0;
    lblTop->SetCaption(SetupControl.CaptionName);
    lblBottom->SetCaption(SetupControl.CaptionName);
    SetCaption(SetupControl.CaptionName + " Setup");
    FileList = new TStringList;
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    WinDir = std::string(windows) + "\\";
    // Normal state, the whole window (title bar included) over the screen.
    ::SetWindowPos(hwnd_, nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const std::string& target = SetupControl.TargetPath;
    SetupControl.TargetPath = GetProgramFilesDir() + (target.empty() ? std::string() : target.substr(1));
    ::PostMessageA(hwnd_, WM_STARTSETUP, 0, 0);
}

void TfrmMain::WMStartSetup() {
    setup_ = std::make_unique<TfrmSetup>(this);
    frmSetup = setup_.get();
    const TSetupControl& sc = SetupControl;
    frmSetup->SetCaption(sc.ProgramName);
    frmSetup->lblDestPath->SetDirName(sc.TargetPath);
    frmSetup->Browser.InitialDir = ExtractFilePath(sc.TargetPath);
    frmSetup->lblWelcome->SetCaption("Welcome to the " + sc.ProgramName + " Setup program.  This program will install " +
                                     sc.ProgramName + " on your computer.");
    frmSetup->lblFinish->SetCaption(sc.ProgramName +
                                    " has been successfully installed on your computer.  You can run it by "
                                    "double-clicking on its icon.");
    frmSetup->pnlPath->Hide();
    frmSetup->pnlCustom->Hide();
    frmSetup->pnlFinish->Hide();
    frmSetup->Browser.TargetFolder = sc.ProgramName;
    frmSetup->Show();
}

void TfrmMain::FormCloseQuery(bool& CanClose) {
    if (ConfirmBox("Are you sure you want to cancel Setup?") == mrYes) {
        Application.Terminate();
        CanClose = true;
    } else {
        CanClose = false;
    }
}

void TfrmMain::FormDestroy() {
    delete FileList;
    FileList = nullptr;
}

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_STARTSETUP) {
        SafeCall([this] { WMStartSetup(); });
        return 0;
    }
    if (msg == WM_SIZE) Repaint();
    return TForm::WndProc(msg, wp, lp);
}

}  // namespace kelp
