#include "InstallLog.h"

#include <windows.h>

#include "SystemError.h"
#include "UninstallError.h"
#include "Win32Handle.h"

namespace kelp {

namespace {

bool TakeTag(const std::string& line, const char* tag, std::string& value) {
    std::string t(tag);
    if (line.compare(0, t.size(), t) != 0) return false;
    value = line.substr(t.size());
    return true;
}

// A real log is a few hundred bytes; anything this large is not one.
constexpr DWORD kMaxLogSize = 4 * 1024 * 1024;

}  // namespace

TInstallLog ParseInstallLog(const std::string& text) {
    TInstallLog log;
    bool haveName = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        // CR LF is the format; a bare LF (a log edited by hand) is read the same.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string value;
        if (TakeTag(line, "AppName: ", value)) {
            if (!haveName) log.AppName = value;
            haveName = true;
        } else if (TakeTag(line, "Copy: ", value)) {
            log.Copied.push_back(value);
        } else if (TakeTag(line, "CreateFile: ", value)) {
            log.Created.push_back(value);
        } else if (TakeTag(line, "RegKey: ", value)) {
            log.RegKeys.push_back(value);
        } else if (TakeTag(line, "*** Install Completed: ", value)) {
            log.Completed = true;
        }
    }
    if (!haveName) throw EBadInstallLog("The file is not an installation log: it names no application.");
    return log;
}

TInstallLog ReadInstallLog(const std::string& path) {
    auto fail = [&](DWORD code) {
        return ELogUnreadable("The installation log \"" + path + "\" cannot be read: " + SystemMessage(code) +
                              " Nothing was removed.");
    };
    THandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw fail(::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) throw fail(::GetLastError());
    if (size.QuadPart > kMaxLogSize) throw fail(ERROR_FILE_TOO_LARGE);
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() && (!::ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) ||
                          got != text.size()))
        throw fail(::GetLastError());
    try {
        return ParseInstallLog(text);
    } catch (const EBadInstallLog&) {
        throw EBadInstallLog("\"" + path + "\" is not an installation log: it names no application. Nothing was removed.");
    }
}

}  // namespace kelp
