// Layouts are written in pixels at 96 dpi; everything on screen goes through Scale.
#pragma once
#include <windows.h>

#include <string>

namespace kelp {

int ScreenDpi();
int Scale(int v);
RECT ScaleRect(int left, int top, int width, int height);

// A font as a layout names it: face, character height in 96-dpi pixels (negative,
// as LOGFONT takes it), style. An empty face means the system's message font.
struct TFontSpec {
    std::string Name;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    COLORREF Color = RGB(0, 0, 0);
};

// Fonts live as long as the process; equal specs share one handle.
HFONT FontHandle(const TFontSpec& fontSpec);
inline HFONT DefaultFont() { return FontHandle(TFontSpec{}); }

// Size of text drawn in font with DrawText flags (DT_CALCRECT is added).
SIZE MeasureText(HFONT font, const std::string& text, UINT flags, int wrapWidth = 0);

}  // namespace kelp
