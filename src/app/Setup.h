// The setup wizard: welcome, custom, destination and finish pages driven by the
// Next button over the background window's CurrentPage.
#pragma once
#include <string>

#include "archive/Archiver.h"
#include "shell/BrowseDlg.h"
#include "shell/Link.h"
#include "win/DirLabel.h"
#include "win/Form.h"
#include "win/Gradient.h"
#include "win/StdCtrls.h"

namespace kelp {

class TfrmSetup : public TForm {
public:
    explicit TfrmSetup(TForm* owner);

    std::string InstallDir;  // destination with a trailing backslash, set by the run
    bool DoBackup = false;

    TGradient* Gradient1;
    TPanel* pnlStart;
    TPanel* pnlCustom;
    TPanel* pnlPath;
    TPanel* pnlFinish;
    TLabel* lblWelcome;
    TLabel* lblFinish;
    TEdit* txtUser;
    TEdit* txtPass;
    TDirLabel* lblDestPath;
    TButton* Button1;
    TCheckBox* chkReadme;
    TCheckBox* chkRunProgram;
    TButton* btnNext;
    TButton* btnCancel;

    TKelpBrowseDir Browser;
    TArchiver Comp;     // expands the payload during the installation run
    TLink Shortcut;     // makes the Programs, Send To and Desktop shortcuts

    void btnNextClick(TControl* Sender);
    void txtUserChange(TControl* Sender);
    void Button1Click(TControl* Sender);
    void btnCancelClick(TControl* Sender);
    // The installation run; ends on the finish page.
    void InstallFiles();
    void CompCheckFile(std::string& filepath, TCProcessMode mode);
    void CompShowProgress(int32_t& PercentageDone);

private:
    void FinishActions();
};

// Starts a command line with a show-window value; the result is ignored.
void StartCommand(const std::string& commandLine);

}  // namespace kelp
