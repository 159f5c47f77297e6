// The installer's configuration record. Its values are fixed when the installer
// is built: they travel as the RCDATA resource "SETUPCONTROL" (Name=Value lines).
#pragma once
#include <windows.h>

#include <string>

#include "win/Component.h"

namespace kelp {

class TSetupControl : public TComponent {
public:
    std::string ProgramName;
    std::string CaptionName;
    std::string TargetPath;
    std::string ExeName;
    std::string HelpFile;
    std::string Uninstaller;
    bool Custom = false;
    bool ShortcutDesktop = false;
    bool ShortcutSendTo = false;
    bool ShortcutStartMenu = false;
    bool RegisterExt = false;

    // Reads the values from their text form; raises on unknown names or bad booleans.
    void LoadFromText(const std::string& text);
    void LoadFromResource(HMODULE module);
};

}  // namespace kelp
