// Horizontal bar gauge in a sunken frame: a black bar on white with the percentage as text.
#pragma once
#include "win/Control.h"

namespace kelp {

class TGauge : public TControl {
public:
    TGauge(TWinControl* parent, TBounds bounds);
    int Progress() const { return progress_; }
    // Values outside 0..100 are clamped.
    void SetProgress(int value);
    void Paint(HDC dc, const RECT& r) override;

private:
    int progress_ = 0;
};

}  // namespace kelp
