// Base of every control: windowless ones are painted by their parent, windowed
// ones own an HWND and get their notifications routed back to their object.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Dpi.h"

namespace kelp {

class TControl;
class TWinControl;
class TForm;
using TNotifyEvent = std::function<void(TControl* Sender)>;

// Position and size in 96-dpi pixels, relative to the parent's client area.
struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TControl {
public:
    TControl(TWinControl* parent, TBounds bounds);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    std::string Name;

    TWinControl* Parent() const { return parent_; }
    TForm* OwnerForm() const;
    const TBounds& Bounds() const { return bounds_; }
    virtual RECT PixelRect() const;
    virtual void SetBounds(TBounds b);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    virtual HWND Handle() const { return nullptr; }
    // Windowless controls draw themselves on the parent's canvas within rect.
    virtual void Paint(HDC, const RECT&) {}
    virtual void Invalidate();

protected:
    TWinControl* parent_;
    TBounds bounds_;
    bool visible_ = true;
};

class TWinControl : public TControl {
public:
    TWinControl(TWinControl* parent, TBounds bounds);
    ~TWinControl() override;

    HWND Handle() const override { return hwnd_; }
    void SetBounds(TBounds b) override;
    void SetVisible(bool v) override;
    void Invalidate() override;
    bool Enabled() const;
    void SetEnabled(bool e);
    std::string Text() const;
    void SetText(const std::string& text);
    void SetFocus();
    bool Focused() const;
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    COLORREF Color = ::GetSysColor(COLOR_BTNFACE);
    int ControlId() const { return id_; }

    // Notification sent by this (system) control to its parent window.
    virtual void CommandNotify(WORD) {}
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }

    void AddGraphic(TControl* c) { graphics_.push_back(c); }
    static TWinControl* FromHandle(HWND hwnd);

protected:
    // A window of our own class named className (registered on first use).
    void CreateOwn(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                   HWND parentOrOwner, RECT rect);
    // A window of a system class; its messages can be seen through SubclassProc.
    void CreateSystem(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                      bool subclass = false);
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // For subclassed system controls: set handled to swallow the message.
    virtual LRESULT SubclassProc(UINT, WPARAM, LPARAM, bool& handled) { handled = false; return 0; }
    virtual void PaintBackground(HDC dc, const RECT& client);
    LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void PaintContainer();

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    int id_ = 0;
    std::vector<TControl*> graphics_;

private:
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK StaticSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void Attach(HWND hwnd);
};

// Runs a handler; an exception escaping it is shown in the standard error box.
void SafeCall(const std::function<void()>& fn);

}  // namespace kelp
