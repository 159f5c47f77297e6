#include "win/Dpi.h"

#include <map>
#include <tuple>

namespace kelp {

int ScreenDpi() {
    static const int dpi = [] {
        HDC dc = ::GetDC(nullptr);
        int v = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

int Scale(int v) { return ::MulDiv(v, ScreenDpi(), 96); }

RECT ScaleRect(int left, int top, int width, int height) {
    RECT r{Scale(left), Scale(top), 0, 0};
    r.right = r.left + Scale(width);
    r.bottom = r.top + Scale(height);
    return r;
}

HFONT FontHandle(const TFontSpec& fontSpec) {
    using Key = std::tuple<std::string, int, bool, bool>;
    static std::map<Key, HFONT> cache;
    Key key{fontSpec.Name, fontSpec.Height, fontSpec.Bold, fontSpec.Italic};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;

    LOGFONTA lf{};
    if (fontSpec.Name.empty()) {
        // The system's message font is already in this process's dpi.
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
            lf = ncm.lfMessageFont;
        else
            ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    } else {
        lf.lfHeight = Scale(fontSpec.Height);
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, fontSpec.Name.c_str(), LF_FACESIZE);
    }
    if (fontSpec.Bold) lf.lfWeight = FW_BOLD;
    if (fontSpec.Italic) lf.lfItalic = TRUE;
    HFONT font = ::CreateFontIndirectA(&lf);
    cache.emplace(key, font);
    return font;
}

SIZE MeasureText(HFONT font, const std::string& text, UINT flags, int wrapWidth) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT r{0, 0, wrapWidth, 0};
    std::string s = text.empty() ? std::string(" ") : text;
    ::DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &r, flags | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace kelp
