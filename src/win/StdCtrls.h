// The standard controls: labels, buttons, edits, check boxes, panels, bevels, group box.
#pragma once
#include "win/Control.h"

namespace kelp {

// Windowless text, painted by its parent; transparent ones leave the parent's
// drawing (a gradient, say) visible around the glyphs.
class TLabel : public TControl {
public:
    TLabel(TWinControl* parent, TBounds bounds, std::string caption, TFontSpec font = {});
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool Transparent = false;
    bool WordWrap = false;
    // Grows the label to its text (width and height, or height only when wrapping).
    bool AutoSize = true;
    void Paint(HDC dc, const RECT& r) override;

private:
    void Fit();
    std::string caption_;
    TFontSpec font_;
};

// Windowed text (a STATIC control), for texts other programs may read back.
// A height of 0 is one line of the parent's font.
class TStaticText : public TWinControl {
public:
    TStaticText(TWinControl* parent, TBounds bounds, const std::string& caption, bool singleLine = false);
    // The same interface as a label's, so a form can switch between the two.
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& c) { SetText(c); }
};

class TButton : public TWinControl {
public:
    TButton(TWinControl* parent, TBounds bounds, const std::string& caption, bool isDefault = false);
    TNotifyEvent OnClick;
    int ModalResult = 0;  // given to the form when the button is clicked
    void Click();
    void CommandNotify(WORD code) override;
};

class TEdit : public TWinControl {
public:
    TEdit(TWinControl* parent, TBounds bounds, char passwordChar = 0);
    TNotifyEvent OnChange;
    void SetReadOnly(bool r);
    void CommandNotify(WORD code) override;
};

class TCheckBox : public TWinControl {
public:
    TCheckBox(TWinControl* parent, TBounds bounds, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool c);
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A windowed container; pages of the wizard are panels on top of one another.
class TPanel : public TWinControl {
public:
    TPanel(TWinControl* parent, TBounds bounds, TBevelCut outer = TBevelCut::bvNone);

protected:
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    TBevelCut outer_;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine };

class TBevel : public TControl {
public:
    TBevel(TWinControl* parent, TBounds bounds, TBevelShape shape, TBevelCut style = TBevelCut::bvLowered);
    void Paint(HDC dc, const RECT& r) override;

private:
    TBevelShape shape_;
    TBevelCut style_;
};

class TGroupBox : public TWinControl {
public:
    TGroupBox(TWinControl* parent, TBounds bounds, const std::string& caption);

protected:
    void PaintBackground(HDC dc, const RECT& client) override;
};

}  // namespace kelp
