// The background window: gradient and shadowed title over the whole screen, the
// configuration record, and the state the wizard and the installation run share.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/SetupCtl.h"
#include "base/StringList.h"
#include "win/Form.h"
#include "win/Gradient.h"
#include "win/StdCtrls.h"

namespace kelp {

class TfrmSetup;
class TfrmCopy;

// Posted by FormCreate so that the wizard is made from the running message loop.
constexpr UINT WM_STARTSETUP = WM_USER + 1;

class TfrmMain : public TForm {
public:
    TfrmMain();
    ~TfrmMain() override;

    TSetupControl SetupControl;
    int32_t CurrentPage = 0;
    TGradient* Grad;
    TLabel* lblBottom;
    TLabel* lblTop;

    void FormCreate();
    void WMStartSetup();
    void FormCloseQuery(bool& CanClose);
    void FormDestroy();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::unique_ptr<TfrmSetup> setup_;  // the wizard, owned by this window
};

extern TfrmMain* frmMain;
extern TfrmCopy* frmCopy;
extern TfrmSetup* frmSetup;
extern TStringList* FileList;
extern std::string WinDir;

// "ProgramFilesDir" under HKLM\Software\Microsoft\Windows\CurrentVersion, or
// "C:\Program Files" whenever it cannot be read as a string.
std::string GetProgramFilesDir();

}  // namespace kelp
