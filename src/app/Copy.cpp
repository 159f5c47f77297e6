#include "app/Copy.h"

#include "app/Main.h"
#include "win/Layout.h"

namespace kelp {

namespace {
const std::vector<TControlSpec>& CopyLayout() {
    using K = TControlKind;
    static const std::vector<TControlSpec> layout{
        {K::StaticLabel, "lblCopyStatus", "", {8, 8, 233, 0}, ""},
        {K::StaticLabel, "lblFilename", "", {8, 26, 233, 0}, ""},
        {K::Gauge, "Progress", "", {9, 46, 231, 17}, ""},
        {K::DefaultButton, "btnCancel", "", {87, 76, 75, 25}, "&Cancel"},
    };
    return layout;
}
}  // namespace

TfrmCopy::TfrmCopy()
    : TForm(TFormSpec{"TfrmCopy", "Setup", TBorderStyle::bsFixedNoMenu, 249, 109, TPosition::poScreenCenter, false, {}},
            nullptr) {
    BuildLayout(*this, CopyLayout());
    lblCopyStatus = Find<TStaticText>("lblCopyStatus");
    lblFilename = Find<TStaticText>("lblFilename");
    Progress = Find<TGauge>("Progress");
    btnCancel = Find<TButton>("btnCancel");
    DefaultButton = btnCancel;
    btnCancel->OnClick = [this](TControl* s) { btnCancelClick(s); };
}

void TfrmCopy::btnCancelClick(TControl*) { frmMain->Close(); }

}  // namespace kelp
