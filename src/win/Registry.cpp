#include "win/Registry.h"

namespace kelp {

TRegistry::TRegistry(HKEY root, REGSAM access) : root_(root), access_(access) {}
TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    CloseKey();
    HKEY h = nullptr;
    LONG r;
    if (canCreate)
        r = ::RegCreateKeyExA(root_, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &h, nullptr);
    else
        r = ::RegOpenKeyExA(root_, key.c_str(), 0, access_, &h);
    if (r != ERROR_SUCCESS) return false;
    current_ = h;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    CloseKey();
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root_, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    current_ = h;
    return true;
}

void TRegistry::CloseKey() {
    if (current_) ::RegCloseKey(current_);
    current_ = nullptr;
}

bool TRegistry::KeyExists(const std::string& key) {
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root_, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

bool TRegistry::ValueExists(const std::string& name) const {
    return current_ && ::RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
    DWORD type = 0, size = 0;
    if (!current_ || ::RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryFailure("Invalid data type for '" + name + "'");
    std::string s(size, '\0');
    if (::RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(s.data()), &size) !=
        ERROR_SUCCESS)
        throw ERegistryFailure("Failed to get data for '" + name + "'");
    s.resize(size);
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (!current_ || ::RegSetValueExA(current_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(value.c_str()),
                                      static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryFailure("Failed to set data for '" + name + "'");
}

}  // namespace kelp
