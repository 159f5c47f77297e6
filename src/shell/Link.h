// Shortcut files through the shell's link object, the special-folder lookup,
// and the COM start-up and shut-down they depend on.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "shell/RegistryError.h"
#include "win/Component.h"

namespace kelp {

enum TLinkDataOption : uint8_t { ldoUseDesc, ldoUseArgs, ldoUseIcon, ldoUseWorkDir, ldoUseHotKey, ldoUseShowCmd };

// A set of TLinkDataOption in one byte: member n is bit n.
class TLinkDataOptions {
public:
    constexpr TLinkDataOptions() = default;
    constexpr TLinkDataOptions(std::initializer_list<TLinkDataOption> members) {
        for (TLinkDataOption m : members) Include(m);
    }
    static constexpr TLinkDataOptions FromByte(uint8_t bits) {
        TLinkDataOptions o;
        o.bits_ = bits;
        return o;
    }
    constexpr bool Contains(TLinkDataOption m) const { return (bits_ & Bit(m)) != 0; }
    constexpr void Include(TLinkDataOption m) { bits_ = static_cast<uint8_t>(bits_ | Bit(m)); }
    constexpr void Exclude(TLinkDataOption m) { bits_ = static_cast<uint8_t>(bits_ & ~Bit(m)); }
    constexpr uint8_t Bits() const { return bits_; }
    constexpr bool operator==(const TLinkDataOptions&) const = default;

private:
    static constexpr uint8_t Bit(TLinkDataOption m) { return static_cast<uint8_t>(1u << m); }
    uint8_t bits_ = 0;
};
static_assert(sizeof(TLinkDataOptions) == 1);

// Everything WriteShellLink puts into one shortcut.
struct TLinkData {
    std::string PathName;
    TLinkDataOptions Options;
    std::string Description;
    std::string Arguments;
    std::string IconFile;
    int32_t IconIndex = 0;
    std::string WorkingDirectory;
    int32_t ShowCommand = 0;  // as IShellLinkA::SetShowCmd takes it
    uint16_t HotKey = 0;      // as IShellLinkA::SetHotkey takes it
};

// Writes one shortcut into a special folder (or a subfolder of one).
class TLink : public TComponent {
public:
    TLinkDataOptions Options;
    // A value name of the Shell Folders key, optionally followed by "\" and a subfolder path.
    std::string LinkFolder;
    // The shortcut's file name without ".lnk"; with ldoUseDesc also its comment.
    std::string Description;
    // The target; its directory becomes the working directory.
    std::string FileName;
    std::string Arguments;

    // Writes the shortcut and returns its full path. Raises ERegistryException
    // when the special folder cannot be found; a failed save goes unreported.
    std::string CreateLink() const;
};

// The path stored under `name` in the current user's Shell Folders key.
std::string SpecialFolderPath(const std::string& name);

// Writes the shortcut file `linkPath` through IShellLinkA and IPersistFile.
HRESULT WriteShellLink(const std::string& linkPath, const TLinkData& data);

// COM on this thread, plus the shell library, for as long as the object lives.
// Made once in the entry point, before the first window.
class ShellServices {
public:
    ShellServices();
    ~ShellServices();
    ShellServices(const ShellServices&) = delete;
    ShellServices& operator=(const ShellServices&) = delete;

private:
    bool comStarted_ = false;
    HMODULE shell32_ = nullptr;
    FARPROC getDataFromIdList_ = nullptr;  // looked up, never called
};

}  // namespace kelp
