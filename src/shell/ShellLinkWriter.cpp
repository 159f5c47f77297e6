#include <objbase.h>
#include <shlobj.h>

#include "shell/Link.h"

namespace kelp {

namespace {

// Holds one interface reference and releases it on every way out.
template <class I>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (ptr_) ptr_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    I* operator->() const { return ptr_; }
    void** Out() { return reinterpret_cast<void**>(&ptr_); }

private:
    I* ptr_ = nullptr;
};

}  // namespace

HRESULT WriteShellLink(const std::string& linkPath, const TLinkData& data) {
    // Declared in this order so the file interface is released before the link.
    ComRef<IShellLinkA> link;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out());
    if (FAILED(hr)) return hr;
    ComRef<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(hr)) return hr;

    link->SetPath(data.PathName.c_str());
    const TLinkDataOptions o = data.Options;
    if (o.Contains(ldoUseDesc)) link->SetDescription(data.Description.c_str());
    if (o.Contains(ldoUseArgs)) link->SetArguments(data.Arguments.c_str());
    if (o.Contains(ldoUseIcon)) link->SetIconLocation(data.IconFile.c_str(), data.IconIndex);
    if (o.Contains(ldoUseWorkDir)) link->SetWorkingDirectory(data.WorkingDirectory.c_str());
    if (o.Contains(ldoUseHotKey)) link->SetHotkey(data.HotKey);
    if (o.Contains(ldoUseShowCmd)) link->SetShowCmd(data.ShowCommand);

    // The name goes into a MAX_PATH buffer; one that does not fit is left empty.
    WCHAR name[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, name, MAX_PATH) == 0) name[0] = L'\0';
    return file->Save(name, TRUE);
}

}  // namespace kelp
