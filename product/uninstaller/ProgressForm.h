// The small dialog shown while files and keys are removed, in the installer's look.
#pragma once
#include "win/Form.h"
#include "win/Gauge.h"
#include "win/StdCtrls.h"

namespace kelp {

class TfrmRemove : public TForm {
public:
    TfrmRemove();
    TLabel* lblStatus;
    TLabel* lblItem;
    TGauge* Progress;
    // Shows one step and lets the dialog repaint.
    void ShowStep(const std::string& status, const std::string& item, int percent);
};

}  // namespace kelp
