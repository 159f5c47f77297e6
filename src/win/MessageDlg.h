// Question and message boxes of our own: the system MessageBox cannot order its
// buttons as we need, nor tell "closed by the title bar" apart from an answer.
#pragma once
#include <string>
#include <vector>

#include "win/Form.h"

namespace kelp {

struct TDlgButton {
    std::string Caption;
    int Result;
};

// Modal box centred on the screen. defaultIndex: the button Enter presses;
// escapeResult: what Esc answers. Closing by the title bar gives mrCancel.
int MessageDlg(const std::string& title, const std::string& text, const char* icon,
               const std::vector<TDlgButton>& buttons, size_t defaultIndex, int escapeResult);

// The installer's confirmation box: "Confirm", question icon, "&Yes" (default)
// then "&No", Esc answers No; returns mrYes, mrNo, or something else (no answer).
int ConfirmBox(const std::string& text);

}  // namespace kelp
