// The copy progress dialog shown during the installation run.
#pragma once
#include "win/Form.h"
#include "win/Gauge.h"
#include "win/StdCtrls.h"

namespace kelp {

class TfrmCopy : public TForm {
public:
    TfrmCopy();
    TLabel* lblCopyStatus;
    TLabel* lblFilename;
    TGauge* Progress;
    TButton* btnCancel;
    void btnCancelClick(TControl* Sender);
};

}  // namespace kelp
