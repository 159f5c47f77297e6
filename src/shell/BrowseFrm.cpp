#include "shell/BrowseFrm.h"

#include "win/FileCtrl.h"
#include "win/Layout.h"
#include "win/MessageDlg.h"

namespace kelp {

char PreviousDrive = 0;

namespace {

TFormSpec BrowseFormSpec() {
    return TFormSpec{"TfrmBrowse", "Browse", TBorderStyle::bsDialog, 271, 276, TPosition::poScreenCenter, false,
                     TFontSpec{"MS Sans Serif", -10}};
}

const std::vector<TControlSpec>& BrowseLayout() {
    using K = TControlKind;
    static const TFontSpec label{"MS Sans Serif", -11, false, false, RGB(0, 0, 0)};
    static const std::vector<TControlSpec> layout{
        {K::Label, "lblText", "", {20, 10, 0, 13}, "", label},
        {K::Label, "Label1", "", {20, 33, 25, 13}, "&Path:", label},
        {K::Edit, "txtPath", "", {20, 52, 238, 21}, ""},
        {K::Label, "Label2", "", {20, 84, 53, 13}, "&Directories:", label},
        {K::DirectoryList, "DirectoryBox", "", {20, 102, 147, 116}, ""},
        {K::Label, "Label3", "", {20, 226, 33, 13}, "Dri&ves:", label},
        {K::DriveCombo, "DriveBox", "", {20, 244, 147, 19}, ""},
        {K::DefaultButton, "btnOK", "", {182, 102, 72, 25}, "&OK"},
        {K::Button, "btnCancel", "", {182, 132, 72, 25}, "Ca&ncel"},
    };
    return layout;
}

}  // namespace

TfrmBrowse::TfrmBrowse() : TForm(BrowseFormSpec(), nullptr) {
    BuildLayout(*this, BrowseLayout());
    lblText = Find<TLabel>("lblText");
    Label1 = Find<TLabel>("Label1");
    txtPath = Find<TEdit>("txtPath");
    Label2 = Find<TLabel>("Label2");
    DirectoryBox = Find<TDirectoryListBox>("DirectoryBox");
    Label3 = Find<TLabel>("Label3");
    DriveBox = Find<TDriveComboBox>("DriveBox");
    btnOK = Find<TButton>("btnOK");
    btnCancel = Find<TButton>("btnCancel");
    btnOK->ModalResult = mrOk;
    btnCancel->ModalResult = mrCancel;
    DefaultButton = btnOK;
    CancelButton = btnCancel;
    ActiveControl = txtPath;

    DirectoryBox->OnChange = [this](TControl* s) { FormCreate(s); };
    DriveBox->OnClick = [this](TControl* s) { DriveBoxClick(s); };
    DriveBox->OnChange = [this](TControl* s) { DriveBoxChange(s); };
    btnOK->OnClick = [this](TControl* s) { btnOKClick(s); };
    FormCreate(this);
}

void TfrmBrowse::FormCreate(TControl*) {
    const std::string& dir = DirectoryBox->Directory();
    if (!FolderName.empty())
        txtPath->SetText(dir + (!dir.empty() && dir.back() == '\\' ? "" : "\\") + FolderName);
    else
        txtPath->SetText(dir);
}

void TfrmBrowse::DriveBoxClick(TControl*) { PreviousDrive = DriveBox->Drive(); }

void TfrmBrowse::DriveBoxChange(TControl*) {
    for (;;) {
        char d = DriveBox->Drive();
        if (!d) return;
        std::string root{d, ':', '\\'};
        if (DirectoryExists(root)) {
            DirectoryBox->SetDrive(d);
            return;
        }
        int answer = MessageDlg("Error", "Unable to access " + root, reinterpret_cast<const char*>(IDI_HAND),
                                {{"Cancel", mrCancel}, {"&Retry", mrRetry}}, 1, mrCancel);
        if (answer == mrRetry) continue;
        // Cancel: back to the drive before the pick. With no such drive (or the
        // same one) there is nothing to go back to, and asking again would not end.
        if (PreviousDrive && PreviousDrive != d) DriveBox->SetDrive(PreviousDrive);
        return;
    }
}

void TfrmBrowse::btnOKClick(TControl*) { SelectedPath = txtPath->Text(); }

}  // namespace kelp
