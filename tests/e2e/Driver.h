// What the end-to-end driver does to the installer's windows: find them, click,
// type, answer questions, read texts, take screenshots.
#pragma once
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(bool ok, const std::string& what);
void CheckEq(const std::string& got, const std::string& want, const std::string& what);

// Polls until ready() holds; a deadline only turns a hang into a failure.
void WaitFor(const std::function<bool()>& ready, const std::string& what);

std::string TextOf(HWND h);
std::string ClassOf(HWND h);
bool Visible(HWND h);
// Top-level window of this class (and caption, when given) that is visible.
HWND TopWindow(const std::string& cls, const std::string& caption = {});
HWND WaitTopWindow(const std::string& cls, const std::string& caption = {});
void WaitGone(HWND h, const std::string& what);
// Visible descendants of parent, in z-order, matching class and text when given.
std::vector<HWND> Children(HWND parent, const std::string& cls, const std::string& text = {});
HWND Child(HWND parent, const std::string& cls, const std::string& text = {});
HWND WaitChild(HWND parent, const std::string& cls, const std::string& text = {});

// Posted, so a click that opens a modal question does not block the driver.
void Click(HWND button);
void SetEditText(HWND edit, const std::string& text);
void PressKey(HWND target, WPARAM vk);
void SysClose(HWND top);

// A question box (class TMessageForm): its text and its buttons left to right.
struct Question {
    HWND Box;
    std::string Title;
    std::string Text;
    std::vector<HWND> Buttons;
    HWND Button(const std::string& caption) const;
    // The captions of the buttons, left to right, joined by " then ".
    std::string ButtonCaptions() const;
};
Question WaitQuestion(const std::string& title);
void Answer(const Question& q, const std::string& caption);

void SetShotDir(const std::string& dir);
// Saves the whole screen as <dir>\<name>.bmp.
void Screenshot(const std::string& name);
// The whole screen as a 24-bit bottom-up BMP file.
void SaveScreen(const std::string& path);

}  // namespace e2e
