#include "win/StdCtrls.h"

#include <algorithm>

#include "win/Form.h"

namespace kelp {

// ---- TLabel
TLabel::TLabel(TWinControl* parent, TBounds bounds, std::string caption, TFontSpec font)
    : TControl(parent, bounds), caption_(std::move(caption)), font_(std::move(font)) {
    parent->AddGraphic(this);
    Fit();
}

void TLabel::SetCaption(const std::string& c) {
    Invalidate();
    caption_ = c;
    Fit();
    Invalidate();
}

void TLabel::Fit() {
    if (!AutoSize) return;
    HFONT f = FontHandle(font_);
    if (WordWrap) {
        SIZE s = MeasureText(f, caption_, DT_WORDBREAK, Scale(bounds_.Width));
        // Never shorter than laid out; taller when the text needs it (high dpi).
        int h = ::MulDiv(s.cy, 96, ScreenDpi()) + 1;
        if (h > bounds_.Height) bounds_.Height = h;
    } else {
        SIZE s = MeasureText(f, caption_, DT_SINGLELINE);
        bounds_.Width = std::max(bounds_.Width, ::MulDiv(s.cx, 96, ScreenDpi()) + 1);
        bounds_.Height = std::max(bounds_.Height, ::MulDiv(s.cy, 96, ScreenDpi()) + 1);
    }
}

void TLabel::Paint(HDC dc, const RECT& r) {
    if (!Transparent) {
        HBRUSH b = ::CreateSolidBrush(parent_->Color);
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
    }
    HGDIOBJ old = ::SelectObject(dc, FontHandle(font_));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, font_.Color);
    RECT tr = r;
    ::DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &tr,
                WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    ::SelectObject(dc, old);
}

// ---- TStaticText
TStaticText::TStaticText(TWinControl* parent, TBounds bounds, const std::string& caption, bool singleLine)
    : TWinControl(parent, bounds) {
    if (bounds_.Height == 0) {
        SIZE s = MeasureText(parent->Font() ? parent->Font() : DefaultFont(), "Ag", DT_SINGLELINE);
        bounds_.Height = ::MulDiv(s.cy, 96, ScreenDpi()) + 1;
    }
    CreateSystem("STATIC", caption, (singleLine ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX, 0);
}

// ---- TButton
TButton::TButton(TWinControl* parent, TBounds bounds, const std::string& caption, bool isDefault)
    : TWinControl(parent, bounds) {
    // Wide enough for the caption in the current font at any dpi.
    SIZE s = MeasureText(parent->Font() ? parent->Font() : DefaultFont(), caption, DT_SINGLELINE);
    int need = ::MulDiv(s.cx, 96, ScreenDpi()) + 16;
    if (need > bounds_.Width) bounds_.Width = need;
    CreateSystem("BUTTON", caption, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0);
}

void TButton::Click() {
    if (ModalResult)
        if (TForm* f = OwnerForm()) f->ModalResult = ModalResult;
    if (OnClick) OnClick(this);
}

void TButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED && Enabled()) Click();
}

// ---- TEdit
TEdit::TEdit(TWinControl* parent, TBounds bounds, char passwordChar) : TWinControl(parent, bounds) {
    CreateSystem("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL | (passwordChar ? ES_PASSWORD : 0), WS_EX_CLIENTEDGE);
    if (passwordChar) ::SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(passwordChar), 0);
}

void TEdit::SetReadOnly(bool r) { ::SendMessageA(hwnd_, EM_SETREADONLY, r, 0); }

void TEdit::CommandNotify(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange(this);
}

// ---- TCheckBox
TCheckBox::TCheckBox(TWinControl* parent, TBounds bounds, const std::string& caption) : TWinControl(parent, bounds) {
    SIZE s = MeasureText(parent->Font() ? parent->Font() : DefaultFont(), caption, DT_SINGLELINE);
    int need = ::MulDiv(s.cx, 96, ScreenDpi()) + 24;
    if (need > bounds_.Width) bounds_.Width = need;
    CreateSystem("BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, 0);
}

bool TCheckBox::Checked() const { return ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void TCheckBox::SetChecked(bool c) { ::SendMessageA(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0); }

// ---- TPanel
TPanel::TPanel(TWinControl* parent, TBounds bounds, TBevelCut outer) : TWinControl(parent, bounds), outer_(outer) {
    RECT r = PixelRect();
    CreateOwn("TPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
              parent->Handle(), r);
    font_ = parent->Font();
}

void TPanel::PaintBackground(HDC dc, const RECT& client) {
    TWinControl::PaintBackground(dc, client);
    if (outer_ != TBevelCut::bvNone) {
        RECT r = client;
        ::DrawEdge(dc, &r, outer_ == TBevelCut::bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

// ---- TBevel
TBevel::TBevel(TWinControl* parent, TBounds bounds, TBevelShape shape, TBevelCut style)
    : TControl(parent, bounds), shape_(shape), style_(style) {
    parent->AddGraphic(this);
}

void TBevel::Paint(HDC dc, const RECT& r) {
    UINT edge = style_ == TBevelCut::bvLowered ? EDGE_ETCHED : EDGE_BUMP;
    RECT rr = r;
    switch (shape_) {
    case TBevelShape::bsBox: ::DrawEdge(dc, &rr, style_ == TBevelCut::bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT); break;
    case TBevelShape::bsFrame: ::DrawEdge(dc, &rr, edge, BF_RECT); break;
    case TBevelShape::bsTopLine: ::DrawEdge(dc, &rr, edge, BF_TOP); break;
    case TBevelShape::bsBottomLine: ::DrawEdge(dc, &rr, edge, BF_BOTTOM); break;
    }
}

// ---- TGroupBox
TGroupBox::TGroupBox(TWinControl* parent, TBounds bounds, const std::string& caption) : TWinControl(parent, bounds) {
    RECT r = PixelRect();
    CreateOwn("TGroupBox", caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
              parent->Handle(), r);
    font_ = parent->Font();
}

void TGroupBox::PaintBackground(HDC dc, const RECT& client) {
    TWinControl::PaintBackground(dc, client);
    std::string caption = Text();
    HGDIOBJ old = ::SelectObject(dc, font_);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    RECT frame = client;
    frame.top += tm.tmHeight / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        SIZE s = MeasureText(font_, caption, DT_SINGLELINE);
        RECT tr{Scale(8), 0, Scale(8) + s.cx, tm.tmHeight};
        HBRUSH b = ::CreateSolidBrush(Color);
        ::FillRect(dc, &tr, b);
        ::DeleteObject(b);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_SINGLELINE);
    }
    ::SelectObject(dc, old);
}

}  // namespace kelp
