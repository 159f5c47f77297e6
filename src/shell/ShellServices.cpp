#include <objbase.h>

#include "shell/Link.h"

namespace kelp {

ShellServices::ShellServices() {
    // Only a successful start is undone: CoUninitialize must balance it exactly.
    comStarted_ = SUCCEEDED(::CoInitialize(nullptr));
    shell32_ = ::LoadLibraryA("shell32.dll");
    if (shell32_) getDataFromIdList_ = ::GetProcAddress(shell32_, "SHGetDataFromIDListA");
}

ShellServices::~ShellServices() {
    if (shell32_) ::FreeLibrary(shell32_);
    if (comStarted_) ::CoUninitialize();
}

}  // namespace kelp
