// Fills its area (or its parent's whole client area) with 256 colour bands.
#pragma once
#include "win/Control.h"

namespace kelp {

enum class TGradientDirection { gdVertical, gdHorizontal };

class TGradient : public TControl {
public:
    TGradient(TWinControl* parent, TBounds bounds, COLORREF start, COLORREF end,
              TGradientDirection dir = TGradientDirection::gdVertical, bool alignClient = false);
    COLORREF ColorStart, ColorEnd;
    TGradientDirection Direction;
    bool AlignClient;
    void Paint(HDC dc, const RECT& r) override;
    RECT PixelRect() const override;
    // The colour of band i of 256.
    static COLORREF BandColor(COLORREF start, COLORREF end, int band);
};

}  // namespace kelp
