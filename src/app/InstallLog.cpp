#include "app/InstallLog.h"

#include "base/Exception.h"

namespace kelp {

namespace {

std::string SystemMessage(DWORD code) {
    char buf[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
    std::string s(buf, n);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
    return s.empty() ? "error " + std::to_string(code) : s;
}

}  // namespace

TInstallLog::TInstallLog(const std::string& path) : path_(path) {
    file_ = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        throw EInOutError("Cannot create file " + path + ". " + SystemMessage(::GetLastError()));
}

TInstallLog::~TInstallLog() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
}

void TInstallLog::WriteLine(const std::string& line) {
    const std::string text = line + "\r\n";
    DWORD written = 0;
    if (file_ == INVALID_HANDLE_VALUE ||
        !::WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        throw EInOutError("Cannot write to " + path_ + ". " + SystemMessage(::GetLastError()));
}

void TInstallLog::Close() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    const BOOL ok = ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!ok) throw EInOutError("Cannot write to " + path_ + ". " + SystemMessage(::GetLastError()));
}

std::string LogDateTime(const SYSTEMTIME& t) {
    char date[128] = {}, time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date);
    if (t.wHour == 0 && t.wMinute == 0 && t.wSecond == 0) return date;
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

std::string LogDateTimeNow() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return LogDateTime(t);
}

}  // namespace kelp
