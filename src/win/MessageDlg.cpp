#include "win/MessageDlg.h"

#include <algorithm>

#include "win/Application.h"
#include "win/StdCtrls.h"

namespace kelp {

namespace {

// Icon drawn on the box's canvas.
class TIconImage : public TControl {
public:
    TIconImage(TWinControl* parent, TBounds b, const char* icon)
        : TControl(parent, b), icon_(::LoadIconA(nullptr, icon)) {
        parent->AddGraphic(this);
    }
    void Paint(HDC dc, const RECT& r) override {
        ::DrawIconEx(dc, r.left, r.top, icon_, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
    }

private:
    HICON icon_;
};

// Everything in 96-dpi pixels; the text decides the box's size.
constexpr int kMargin = 12, kIcon = 32, kGap = 12, kButtonW = 75, kButtonH = 25, kButtonGap = 8;

}  // namespace

int MessageDlg(const std::string& title, const std::string& text, const char* icon,
               const std::vector<TDlgButton>& buttons, size_t defaultIndex, int escapeResult) {
    if (Application.Terminated()) return mrNone;
    HFONT font = DefaultFont();
    SIZE ts = MeasureText(font, text, DT_WORDBREAK | DT_NOPREFIX, Scale(360));
    int textW = ::MulDiv(ts.cx, 96, ScreenDpi()) + 2, textH = ::MulDiv(ts.cy, 96, ScreenDpi()) + 2;

    std::vector<int> widths;
    for (auto& b : buttons) {
        SIZE s = MeasureText(font, b.Caption, DT_SINGLELINE);
        widths.push_back(std::max(kButtonW, ::MulDiv(s.cx, 96, ScreenDpi()) + 16));
    }
    int buttonsW = kButtonGap * static_cast<int>(buttons.size() - 1);
    for (int w : widths) buttonsW += w;

    int contentW = kIcon + kGap + textW;
    int clientW = std::max(contentW, buttonsW) + 2 * kMargin;
    int bodyH = std::max(kIcon, textH);
    int clientH = kMargin + bodyH + kGap + kButtonH + kMargin;

    TForm form(TFormSpec{"TMessageForm", title, TBorderStyle::bsDialog, clientW, clientH,
                         TPosition::poScreenCenter, false, {}},
               Application.MainForm());
    form.Own(std::make_unique<TIconImage>(&form, TBounds{kMargin, kMargin, kIcon, kIcon}, icon));
    auto* label = form.Own(std::make_unique<TStaticText>(
        &form, TBounds{kMargin + kIcon + kGap, kMargin + std::max(0, (kIcon - textH) / 2), textW, textH}, text));
    label->Name = "Message";

    int x = (clientW - buttonsW) / 2, y = kMargin + bodyH + kGap;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* b = form.Own(std::make_unique<TButton>(&form, TBounds{x, y, widths[i], kButtonH}, buttons[i].Caption,
                                                     i == defaultIndex));
        b->ModalResult = buttons[i].Result;
        if (i == defaultIndex) {
            form.DefaultButton = b;
            form.ActiveControl = b;
        }
        if (buttons[i].Result == escapeResult) form.CancelButton = b;
        x += widths[i] + kButtonGap;
    }
    ::MessageBeep(0);
    ::SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    int result = form.ShowModal();
    return result;
}

int ConfirmBox(const std::string& text) {
    return MessageDlg("Confirm", text, reinterpret_cast<const char*>(IDI_QUESTION),
                      {{"&Yes", mrYes}, {"&No", mrNo}}, 0, mrNo);
}

}  // namespace kelp
