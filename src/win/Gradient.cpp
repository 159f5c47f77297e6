#include "win/Gradient.h"

namespace kelp {

TGradient::TGradient(TWinControl* parent, TBounds bounds, COLORREF start, COLORREF end, TGradientDirection dir,
                     bool alignClient)
    : TControl(parent, bounds), ColorStart(start), ColorEnd(end), Direction(dir), AlignClient(alignClient) {
    parent->AddGraphic(this);
}

COLORREF TGradient::BandColor(COLORREF start, COLORREF end, int band) {
    auto mix = [band](int a, int b) { return a + (b - a) * band / 255; };
    return RGB(mix(GetRValue(start), GetRValue(end)), mix(GetGValue(start), GetGValue(end)),
               mix(GetBValue(start), GetBValue(end)));
}

RECT TGradient::PixelRect() const {
    if (!AlignClient) return TControl::PixelRect();
    RECT r{};
    ::GetClientRect(parent_->Handle(), &r);
    return r;
}

void TGradient::Paint(HDC dc, const RECT& rect) {
    RECT r = rect;
    int extent = Direction == TGradientDirection::gdVertical ? r.bottom - r.top : r.right - r.left;
    for (int band = 0; band < 256; ++band) {
        // Band edges spread over the extent so the 256 bands cover it exactly.
        int from = extent * band / 256, to = extent * (band + 1) / 256;
        if (to <= from) continue;
        RECT b = r;
        if (Direction == TGradientDirection::gdVertical) {
            b.top = r.top + from;
            b.bottom = r.top + to;
        } else {
            b.left = r.left + from;
            b.right = r.left + to;
        }
        HBRUSH brush = ::CreateSolidBrush(BandColor(ColorStart, ColorEnd, band));
        ::FillRect(dc, &b, brush);
        ::DeleteObject(brush);
    }
}

}  // namespace kelp
