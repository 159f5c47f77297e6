// The browse dialog: drive selector, directory list and path field.
#pragma once
#include <string>

#include "win/DirectoryListBox.h"
#include "win/DriveComboBox.h"
#include "win/Form.h"
#include "win/StdCtrls.h"

namespace kelp {

// The drive the selector held just before the user's last pick; outlives the dialogs.
extern char PreviousDrive;

class TfrmBrowse : public TForm {
public:
    TfrmBrowse();

    std::string SelectedPath;
    std::string FolderName;

    TLabel* lblText;
    TLabel* Label1;
    TEdit* txtPath;
    TLabel* Label2;
    TDirectoryListBox* DirectoryBox;
    TLabel* Label3;
    TDriveComboBox* DriveBox;
    TButton* btnOK;
    TButton* btnCancel;

    // Refreshes the path field; also the directory list's change notification.
    void FormCreate(TControl* Sender);
    void DriveBoxClick(TControl* Sender);
    void DriveBoxChange(TControl* Sender);
    void btnOKClick(TControl* Sender);
};

}  // namespace kelp
