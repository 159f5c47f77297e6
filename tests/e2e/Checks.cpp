#include "Checks.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "Driver.h"

namespace e2e {

std::string WindowsDir() {
    char buf[MAX_PATH] = "";
    UINT n = ::GetWindowsDirectoryA(buf, MAX_PATH);
    Check(n > 0 && n < MAX_PATH, "Windows directory");
    return buf;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out.flush()), "wrote " + path);
}

std::vector<std::string> ReadLogLines(const std::string& path) {
    auto text = ReadWholeFile(path);
    Check(text.has_value(), "read " + path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text->size()) {
        size_t lf = text->find('\n', start);
        Check(lf != std::string::npos, path + " ends in a line break");
        Check(lf > start && (*text)[lf - 1] == '\r', path + " line " + std::to_string(lines.size() + 1) + " ends in CR LF");
        lines.push_back(text->substr(start, lf - 1 - start));
        start = lf + 1;
    }
    return lines;
}

std::optional<std::string> RegString(HKEY root, const std::string& key, const std::string& value, REGSAM view) {
    HKEY k;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) return std::nullopt;
    char buf[2048];
    DWORD size = sizeof buf - 1, type = 0;
    LONG rc = ::RegQueryValueExA(k, value.empty() ? nullptr : value.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(buf), &size);
    ::RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    buf[size] = 0;
    return std::string(buf);
}

bool RegKeyExists(HKEY root, const std::string& key, REGSAM view) {
    HKEY k;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) return false;
    ::RegCloseKey(k);
    return true;
}

std::string ShellFolder(const std::string& name) {
    auto v = RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name);
    Check(v.has_value(), "Shell Folders names " + name);
    return *v;
}

namespace {
template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
};
}  // namespace

std::optional<Shortcut> ReadShortcut(const std::string& lnkPath) {
    HRESULT init = ::CoInitialize(nullptr);
    std::optional<Shortcut> result;
    {
        ComPtr<IShellLinkA> link;
        ComPtr<IPersistFile> file;
        std::wstring wide(lnkPath.begin(), lnkPath.end());
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link.p))) &&
            SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) &&
            SUCCEEDED(file.p->Load(wide.c_str(), STGM_READ))) {
            char buf[MAX_PATH * 2] = "";
            Shortcut s;
            if (SUCCEEDED(link.p->GetPath(buf, sizeof buf, nullptr, SLGP_RAWPATH))) s.Target = buf;
            buf[0] = 0;
            if (SUCCEEDED(link.p->GetWorkingDirectory(buf, sizeof buf))) s.WorkingDirectory = buf;
            buf[0] = 0;
            if (SUCCEEDED(link.p->GetDescription(buf, sizeof buf))) s.Description = buf;
            result = s;
        }
    }
    if (SUCCEEDED(init)) ::CoUninitialize();
    return result;
}

}  // namespace e2e
