// The installation run. For now it goes straight to the finish page; the
// expansion, log, registry entries and shortcuts take its place later.
#include "app/Main.h"
#include "app/Setup.h"

namespace kelp {

void TfrmSetup::InstallFiles() {
    InstallDir = lblDestPath->DirName() + "\\";
    pnlFinish->Show();
    btnNext->SetText("Finish");
    frmMain->CurrentPage = 3;
    Show();
    Repaint();
}

}  // namespace kelp
