// A top-level window holding controls: close query, default and cancel buttons,
// modal showing, and the controls built from a layout table.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "win/Control.h"

namespace kelp {

class TButton;

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

enum class TBorderStyle {
    bsSingle,      // caption, system menu, minimise box, fixed size
    bsDialog,      // caption with close box only, dialog frame
    bsFixedNoMenu  // caption without any title-bar buttons
};

enum class TPosition { poDesigned, poScreenCenter };

struct TFormSpec {
    const char* ClassName;
    std::string Caption;
    TBorderStyle Border = TBorderStyle::bsDialog;
    int ClientWidth = 0, ClientHeight = 0;  // 96-dpi pixels
    TPosition Position = TPosition::poScreenCenter;
    bool TopMost = false;
    TFontSpec Font;
};

class TForm : public TWinControl {
public:
    TForm(const TFormSpec& layout, TForm* owner);
    ~TForm() override;

    void SetCaption(const std::string& c) { SetText(c); }
    std::string Caption() const { return Text(); }
    void SetVisible(bool v) override;
    bool Showing() const { return hwnd_ && ::IsWindowVisible(hwnd_); }
    void Repaint();
    // Asks to close: runs the close query, then ends the application (main
    // form), the modal loop (modal form) or hides the form.
    void Close();
    int ShowModal();
    int ModalResult = mrNone;

    std::function<void(bool& CanClose)> OnCloseQuery;
    TButton* DefaultButton = nullptr;  // Enter
    TButton* CancelButton = nullptr;   // Esc
    TWinControl* ActiveControl = nullptr;  // focused when the form is first activated

    // Places a control built by the caller among the form's components.
    template <class T>
    T* Own(std::unique_ptr<T> c) {
        T* raw = c.get();
        components_.push_back(std::move(c));
        return raw;
    }
    TControl* FindComponent(const std::string& name) const;
    template <class T>
    T* Find(const std::string& name) const {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        if (!c) throw Exception("Component not found: " + name);
        return c;
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void Resize(int clientWidth, int clientHeight);

    TFormSpec layout_;
    std::vector<std::unique_ptr<TControl>> components_;

private:
    bool inModal_ = false;
    HWND lastFocus_ = nullptr;
};

}  // namespace kelp
