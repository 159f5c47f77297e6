#include "win/Gauge.h"

#include <algorithm>
#include <string>

namespace kelp {

TGauge::TGauge(TWinControl* parent, TBounds bounds) : TControl(parent, bounds) { parent->AddGraphic(this); }

void TGauge::SetProgress(int value) {
    value = std::clamp(value, 0, 100);
    if (value == progress_) return;
    progress_ = value;
    Invalidate();
}

void TGauge::Paint(HDC dc, const RECT& r) {
    RECT inner = r;
    ::DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    ::FillRect(dc, &inner, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT bar = inner;
    bar.right = inner.left + (inner.right - inner.left) * progress_ / 100;
    ::FillRect(dc, &bar, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));

    std::string text = std::to_string(progress_) + "%";
    HGDIOBJ old = ::SelectObject(dc, DefaultFont());
    ::SetBkMode(dc, TRANSPARENT);
    // The text reads white over the bar and black over the rest.
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextA(dc, text.c_str(), -1, &inner, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ::RestoreDC(dc, saved);
    saved = ::SaveDC(dc);
    ::ExcludeClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextA(dc, text.c_str(), -1, &inner, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ::RestoreDC(dc, saved);
    ::SelectObject(dc, old);
}

}  // namespace kelp
