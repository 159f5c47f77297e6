// The copy progress dialog shown during the installation run.
#pragma once
#include "win/Form.h"
#include "win/Gauge.h"
#include "win/StdCtrls.h"

namespace kelp {

class TfrmCopy : public TForm {
public:
    TfrmCopy();
    // Real STATIC controls, as a native dialog has: other programs (tools that
    // read the screen, tests) can read what the run is doing.
    TStaticText* lblCopyStatus;
    TStaticText* lblFilename;
    TGauge* Progress;
    TButton* btnCancel;
    void btnCancelClick(TControl* Sender);
};

}  // namespace kelp
