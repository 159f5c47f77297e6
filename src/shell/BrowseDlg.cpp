#include "shell/BrowseDlg.h"

#include "shell/BrowseFrm.h"
#include "win/FileCtrl.h"

namespace kelp {

bool TKelpBrowseDir::Execute() {
    TfrmBrowse form;
    form.lblText->SetCaption(CaptionText);
    form.FolderName = TargetFolder;
    if (DirectoryExists(InitialDir)) {
        form.DirectoryBox->SetDirectory(InitialDir);
    } else {
        char exe[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        form.DirectoryBox->SetDirectory(ExtractFilePath(exe));
    }
    if (ReadOnly) form.txtPath->SetReadOnly(true);
    int result = form.ShowModal();
    Directory = form.SelectedPath;
    return result == mrOk;
}

}  // namespace kelp
