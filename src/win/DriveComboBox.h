// Drop-down list of the drives present. A user's pick raises OnClick while the
// old drive is still current, then OnChange with the new one; setting the drive
// from code raises only OnChange, and only when it differs.
#pragma once
#include "win/Control.h"

namespace kelp {

class TDriveComboBox : public TWinControl {
public:
    TDriveComboBox(TWinControl* parent, TBounds bounds);
    char Drive() const { return drive_; }  // lower case, 0 for none
    void SetDrive(char d);
    TNotifyEvent OnClick;
    TNotifyEvent OnChange;
    void CommandNotify(WORD code) override;

private:
    void Fill();
    void SelectCurrent();
    std::string letters_;  // one per list item
    char drive_ = 0;
};

}  // namespace kelp
