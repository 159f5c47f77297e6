// Layout of the background window.
#include "app/MainLayout.h"

namespace kelp {

const std::vector<TControlSpec>& MainLayout() {
    static const TFontSpec title{"Times New Roman", -37, true, true, RGB(0, 0, 0)};
    static const TFontSpec titleFront{"Times New Roman", -37, true, true, RGB(255, 255, 255)};
    static const std::vector<TControlSpec> layout{
        {TControlKind::ClientGradient, "Grad", "", {0, 0, 0, 0}, "", {}, RGB(0, 0, 255), RGB(0, 0, 0)},
        {TControlKind::TransparentLabel, "lblBottom", "", {28, 20, 0, 0}, "", title},
        {TControlKind::TransparentLabel, "lblTop", "", {24, 16, 0, 0}, "", titleFront},
    };
    return layout;
}

TFormSpec MainFormSpec() {
    return TFormSpec{"TfrmMain", "", TBorderStyle::bsSingle, 640, 480, TPosition::poDesigned, false, {}};
}

}  // namespace kelp
