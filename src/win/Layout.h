// A form's controls as data: kind, name, parent, position, text, font. Each form
// keeps its table beside its code and builds it once when it is created.
#pragma once
#include <string>
#include <vector>

#include "win/Form.h"

namespace kelp {

enum class TControlKind {
    Label,
    WrapLabel,          // word-wrapped, grows downwards to fit its text
    TransparentLabel,
    StaticLabel,        // single-line text in a STATIC control, readable by other programs
    Button,
    DefaultButton,
    Edit,
    PasswordEdit,
    CheckBox,
    Panel,
    LoweredPanel,
    TopLineBevel,
    GroupBox,
    DirLabel,
    Gradient,           // vertical, Color1 at the top to Color2 at the bottom
    ClientGradient,     // the same, filling the parent's whole client area
    Gauge,
    DirectoryList,
    DriveCombo
};

struct TControlSpec {
    TControlKind Kind;
    std::string Name;
    std::string Parent;  // empty: the form itself
    TBounds Bounds;
    std::string Text;
    TFontSpec Font{};
    COLORREF Color1 = 0, Color2 = 0;
};

// Creates the controls in table order (which is also the tab order).
void BuildLayout(TForm& form, const std::vector<TControlSpec>& specs);

}  // namespace kelp
