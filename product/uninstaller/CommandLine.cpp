#include "CommandLine.h"

#include "UninstallError.h"

namespace kelp {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string LogPathFromCommandLine(const std::string& commandLine) {
    size_t i = 0, n = commandLine.size();
    while (i < n && IsBlank(commandLine[i])) ++i;
    // The program path: quoted up to the closing quote, else up to the first blank,
    // which is how Windows itself splits off the program name.
    if (i < n && commandLine[i] == '"') {
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
