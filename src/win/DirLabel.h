// Holds a full path and shows it shortened with "..." to fit its width. The
// window text is the full path, so reading it back gives DirName.
#pragma once
#include "win/Control.h"

namespace kelp {

class TDirLabel : public TWinControl {
public:
    TDirLabel(TWinControl* parent, TBounds bounds);
    std::string DirName() const { return Text(); }
    void SetDirName(const std::string& dir) { SetText(dir); }
    // What is drawn for a path in a given pixel width.
    static std::string Shorten(HDC dc, const std::string& path, int width);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace kelp
