#include "RegistryCleanup.h"

#include <windows.h>

#include <functional>

#include "CommandLine.h"
#include "PathName.h"
#include "RegistryRead.h"
#include "SystemError.h"

namespace kelp {

namespace {

TRemoveResult RemoveOwnedKeyIn(REGSAM view, const std::string& key, const std::string& valueName,
                               const std::function<bool(const std::string&)>& owned, const std::string& notOurs) {
    if (!RegKeyExists(HKEY_LOCAL_MACHINE, key, view)) return {TRemoveOutcome::Missing, ""};
    // A key without the value cannot be told apart; the log names it, so it goes.
    if (auto value = RegReadString(HKEY_LOCAL_MACHINE, key, valueName, view); value && !owned(*value))
        return {TRemoveOutcome::Left, notOurs};
    if (RegSubkeyCount(HKEY_LOCAL_MACHINE, key, view) > 0)
        return {TRemoveOutcome::Left, "it holds keys the installation did not make"};
    LONG rc = ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
    if (rc == ERROR_SUCCESS) return {TRemoveOutcome::Removed, ""};
    if (rc == ERROR_FILE_NOT_FOUND) return {TRemoveOutcome::Missing, ""};
    std::string why = SystemMessage(static_cast<DWORD>(rc));
    if (rc == ERROR_ACCESS_DENIED) why += " Removing it needs administrator rights.";
    return {TRemoveOutcome::Left, why};
}

// Looked for in both views: which one holds the key depends on the installer's
// build, and a key shared by the views is gone after the first.
TRemoveResult RemoveOwnedKey(const std::string& key, const std::string& valueName,
                             const std::function<bool(const std::string&)>& owned, const std::string& notOurs) {
    TRemoveResult result{TRemoveOutcome::Missing, ""};
    for (REGSAM view : kInstallerViews) {
        TRemoveResult r = RemoveOwnedKeyIn(view, key, valueName, owned, notOurs);
        if (r.Outcome == TRemoveOutcome::Left || result.Outcome == TRemoveOutcome::Missing) result = r;
    }
    return result;
}

bool SameNormalised(const std::string& a, const std::string& b) {
    try {
        return SamePath(NormalisePath(a), NormalisePath(b));
    } catch (const std::exception&) {
        return false;
    }
}

// The installer writes the program path unquoted, followed by " %1".
bool StartsProgram(const std::string& command, const std::string& programPath) {
    std::string program = command;
    if (!program.empty() && program.front() == '"') {
        size_t close = program.find('"', 1);
        program = program.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        std::string key = PathKey(program), exe = PathKey(FileNamePart(programPath));
        size_t at = key.find(exe);
        if (at != std::string::npos) program = program.substr(0, at + exe.size());
    }
    return SameNormalised(program, programPath);
}

}  // namespace

TRemoveResult RemoveUninstallKey(const std::string& key, const std::string& logPath,
                                 const std::string& uninstallerPath) {
    return RemoveOwnedKey(
        key, "UninstallString",
        [&](const std::string& command) {
            try {
                return SameNormalised(LogPathFromCommandLine(command, uninstallerPath), logPath);
            } catch (const std::exception&) {
                return false;
            }
        },
        "it belongs to another installation of the program");
}

TRemoveResult RemoveAppPathsKey(const std::string& key, const std::string& programPath) {
    return RemoveOwnedKey(
        key, "", [&](const std::string& target) { return !programPath.empty() && SameNormalised(target, programPath); },
        "it names the program of another installation");
}

std::string FtpHandlerStarting(const std::string& programPath) {
    if (programPath.empty()) return {};
    // Windows shares the protocol keys between its views; Wine keeps two, so both are read.
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        auto command = RegReadString(HKEY_CLASSES_ROOT, "ftp\\shell\\open\\command", "", view);
        if (command && StartsProgram(*command, programPath)) return *command;
    }
    return {};
}

}  // namespace kelp
