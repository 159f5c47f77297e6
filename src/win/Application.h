// The application object: title, message loop, letting queued messages through,
// the termination request and the standard error box.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

#include "base/Exception.h"

namespace kelp {

class TForm;

class TApplication {
public:
    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The hidden window that stands for the application on the task bar.
    HWND Handle() const { return handle_; }

    TForm* MainForm() const { return mainForm_; }
    // The first form created becomes the main form.
    void FormCreated(TForm* form);

    // Shows the main form and dispatches messages until termination is requested.
    void Run();
    void ProcessMessages();
    // Sets the flag at once and posts the quit message; running code goes on.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // One message through dialog keys (Tab, Enter, Esc) and dispatch.
    void HandleMessage(MSG& msg);
    // The standard error box: title, error icon, OK, message with a final ".".
    void ShowException(const std::exception& e);
    static std::string ErrorText(const std::string& message);

private:
    std::string title_;
    HWND handle_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication Application;

}  // namespace kelp
