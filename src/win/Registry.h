// Registry accessor: a root key, one open key at a time, string values.
#pragma once
#include <windows.h>

#include <string>

#include "base/Exception.h"

namespace kelp {

KELP_EXCEPTION(ERegistryFailure);

class TRegistry {
public:
    explicit TRegistry(HKEY root = HKEY_CURRENT_USER, REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);
    // False when the key is missing (and not to be created) or cannot be opened.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool ValueExists(const std::string& name) const;
    // REG_SZ (or REG_EXPAND_SZ) value; "" when missing; raises for other types.
    std::string ReadString(const std::string& name) const;
    // Raises "Failed to set data for '<name>'" when the value cannot be written.
    void WriteString(const std::string& name, const std::string& value);
    HKEY CurrentKey() const { return current_; }

private:
    HKEY root_;
    REGSAM access_;
    HKEY current_ = nullptr;
};

}  // namespace kelp
