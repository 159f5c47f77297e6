#include "CommandLine.h"

#include <windows.h>

#include "UninstallError.h"

namespace kelp {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string LogPathFromCommandLine(const std::string& commandLine, const std::string& programPath) {
    size_t i = 0, n = commandLine.size();
    while (i < n && IsBlank(commandLine[i])) ++i;
    size_t p = programPath.size();
    bool startsWithProgram = p && i + p <= n && (i + p == n || IsBlank(commandLine[i + p])) &&
                             ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, commandLine.data() + i,
                                              static_cast<int>(p), programPath.data(), static_cast<int>(p)) == CSTR_EQUAL;
    // The program path: quoted up to the closing quote, else up to the first blank,
    // which is how Windows itself splits off the program name.
    if (startsWithProgram) {
        i += p;
    } else if (i < n && commandLine[i] == '"') {
        size_t close = commandLine.find('"', i + 1);
        i = close == std::string::npos ? n : close + 1;
    } else {
        while (i < n && !IsBlank(commandLine[i])) ++i;
    }
    size_t first = commandLine.find_first_not_of(" \t", i);
    size_t last = commandLine.find_last_not_of(" \t");
    std::string tail = first == std::string::npos ? std::string() : commandLine.substr(first, last - first + 1);
    if (tail.size() >= 2 && tail.front() == '"' && tail.back() == '"') tail = tail.substr(1, tail.size() - 2);
    if (tail.empty())
        throw EUninstallUsage("No installation log was given. Start the uninstaller from \"Add or remove programs\".");
    return tail;
}

}  // namespace kelp
