// Owners for the raw handles the uninstaller opens, closed on every path out.
#pragma once
#include <windows.h>

namespace kelp {

class THandle {
public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~THandle() { if (Valid()) ::CloseHandle(h_); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

class TRegKey {
public:
    TRegKey() = default;
    ~TRegKey() { if (h_) ::RegCloseKey(h_); }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    HKEY* Out() { return &h_; }
    HKEY Get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

}  // namespace kelp
