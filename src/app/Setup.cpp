#include "app/Setup.h"

#include "app/Main.h"
#include "app/SetupLayout.h"
#include "win/Application.h"
#include "win/FileCtrl.h"
#include "win/MessageDlg.h"

namespace kelp {

TfrmSetup::TfrmSetup(TForm* owner) : TForm(SetupFormSpec(), owner) {
    BuildLayout(*this, SetupLayout());
    Gradient1 = Find<TGradient>("Gradient1");
    pnlStart = Find<TPanel>("pnlStart");
    pnlCustom = Find<TPanel>("pnlCustom");
    pnlPath = Find<TPanel>("pnlPath");
    pnlFinish = Find<TPanel>("pnlFinish");
    lblWelcome = Find<TLabel>("lblWelcome");
    lblFinish = Find<TLabel>("lblFinish");
    txtUser = Find<TEdit>("txtUser");
    txtPass = Find<TEdit>("txtPass");
    lblDestPath = Find<TDirLabel>("lblDestPath");
    Button1 = Find<TButton>("Button1");
    chkReadme = Find<TCheckBox>("chkReadme");
    chkRunProgram = Find<TCheckBox>("chkRunProgram");
    btnNext = Find<TButton>("btnNext");
    btnCancel = Find<TButton>("btnCancel");
    DefaultButton = btnNext;
    ActiveControl = btnNext;

    btnNext->OnClick = [this](TControl* s) { btnNextClick(s); };
    btnCancel->OnClick = [this](TControl* s) { btnCancelClick(s); };
    Button1->OnClick = [this](TControl* s) { Button1Click(s); };
    txtUser->OnChange = [this](TControl* s) { txtUserChange(s); };
    txtPass->OnChange = [this](TControl* s) { txtUserChange(s); };

    Browser.Name = "Browser";
    Browser.CaptionText = "Select Destination Directory";
    Browser.ReadOnly = true;

    Comp.MakeDirectories = true;
    Comp.ExceptionOnFileError = false;  // a file in use is passed over silently
    Comp.CheckSpaceBeforeExpand = false;
    Comp.Key = 0;
    Comp.OnCheckFile = [this](std::string& path, TCProcessMode mode) { CompCheckFile(path, mode); };
    Comp.OnShowProgress = [this](int32_t& percent) { CompShowProgress(percent); };
    Shortcut.Options = {ldoUseDesc, ldoUseIcon, ldoUseWorkDir};
}

void TfrmSetup::btnNextClick(TControl*) {
    switch (frmMain->CurrentPage) {
    case 0:
        pnlStart->Hide();
        if (frmMain->SetupControl.Custom) {
            frmMain->CurrentPage = 1;
            pnlCustom->Show();
            txtUser->SetFocus();
            btnNext->SetEnabled(false);
        } else {
            frmMain->CurrentPage = 2;
            pnlPath->Show();
        }
        break;
    case 1:
        pnlCustom->Hide();
        pnlPath->Show();
        frmMain->CurrentPage = 2;
        break;
    case 2: {
        std::string dir = lblDestPath->DirName();
        if (!DirectoryExists(dir)) {
            if (ConfirmBox("The directory: \r\r" + dir + "\r\r does not exist.  Do you want to create it ? ") != mrYes)
                return;
            ForceDirectories(dir);
        }
        Hide();
        pnlPath->Hide();
        DoBackup = ConfirmBox("Do you want to backup replaced files ?  ") == mrYes;
        if (DoBackup) ForceDirectories(dir + "\\Backup");
        InstallFiles();
        break;
    }
    case 3:
        FinishActions();
        break;
    default:
        break;
    }
}

void TfrmSetup::FinishActions() {
    const TSetupControl& sc = frmMain->SetupControl;
    // The program's path is quoted: unquoted, a path with blanks lets Windows try
    // "C:\Program.exe" first.
    if (chkRunProgram->Checked()) StartCommand("\"" + InstallDir + sc.ExeName + "\"");
    if (chkReadme->Checked()) StartCommand("notepad.exe \"" + InstallDir + "readme.txt\"");
    Application.Terminate();
}

void StartCommand(const std::string& commandLine) { ::WinExec(commandLine.c_str(), SW_SHOWNORMAL); }

void TfrmSetup::txtUserChange(TControl*) {
    btnNext->SetEnabled(!txtUser->Text().empty() && !txtPass->Text().empty());
}

void TfrmSetup::Button1Click(TControl*) {
    if (Browser.Execute()) lblDestPath->SetDirName(Browser.Directory);
}

void TfrmSetup::btnCancelClick(TControl*) { frmMain->Close(); }

}  // namespace kelp
