#include "app/SetupCtl.h"

#include <sstream>

#include "base/Exception.h"

namespace kelp {

namespace {
bool ParseBool(const std::string& name, const std::string& v) {
    if (v == "True") return true;
    if (v == "False") return false;
    throw Exception("Bad setup value for " + name + ": " + v);
}
}  // namespace

void TSetupControl::LoadFromText(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos) throw Exception("Bad setup line: " + line);
        std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "ProgramName") ProgramName = value;
        else if (name == "CaptionName") CaptionName = value;
        else if (name == "TargetPath") TargetPath = value;
        else if (name == "ExeName") ExeName = value;
        else if (name == "HelpFile") HelpFile = value;
        else if (name == "Uninstaller") Uninstaller = value;
        else if (name == "Custom") Custom = ParseBool(name, value);
        else if (name == "ShortcutDesktop") ShortcutDesktop = ParseBool(name, value);
        else if (name == "ShortcutSendTo") ShortcutSendTo = ParseBool(name, value);
        else if (name == "ShortcutStartMenu") ShortcutStartMenu = ParseBool(name, value);
        else if (name == "RegisterExt") RegisterExt = ParseBool(name, value);
        else throw Exception("Unknown setup value: " + name);
    }
}

void TSetupControl::LoadFromResource(HMODULE module) {
    HRSRC res = ::FindResourceA(module, "SETUPCONTROL", MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(::LockResource(data)) : nullptr;
    if (!bytes) throw EResNotFound("Resource SETUPCONTROL not found");
    LoadFromText(std::string(bytes, ::SizeofResource(module, res)));
}

}  // namespace kelp
