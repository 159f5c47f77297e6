// kelp_setres EXE NAME FILE [TYPE]: replaces the resource NAME (of type TYPE,
// RCDATA when not given) of EXE with the bytes of FILE, as a release engineer
// makes a variant installer.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(lang);
    return TRUE;
}

// The languages the resource has now, so the update replaces it rather than
// adding a second copy beside it.
std::vector<WORD> LanguagesOf(const char* exe, LPCSTR type, const char* name) {
    std::vector<WORD> langs;
    if (HMODULE m = ::LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        ::EnumResourceLanguagesA(m, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
        ::FreeLibrary(m);
    }
    if (langs.empty()) langs.push_back(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    return langs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: kelp_setres EXE NAME FILE [TYPE]\n");
        return 2;
    }
    LPCSTR type = argc == 5 ? argv[4] : MAKEINTRESOURCEA(10);
    std::ifstream in(argv[3], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[3]);
        return 1;
    }
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<WORD> langs = LanguagesOf(argv[1], type, argv[2]);
    HANDLE h = ::BeginUpdateResourceA(argv[1], FALSE);
    if (!h) {
        std::fprintf(stderr, "cannot open %s for update\n", argv[1]);
        return 1;
    }
    for (WORD lang : langs) {
        if (!::UpdateResourceA(h, type, argv[2], lang, data.data(), static_cast<DWORD>(data.size()))) {
            ::EndUpdateResourceA(h, TRUE);
            std::fprintf(stderr, "cannot update %s\n", argv[1]);
            return 1;
        }
    }
    if (!::EndUpdateResourceA(h, FALSE)) {
        std::fprintf(stderr, "cannot update %s\n", argv[1]);
        return 1;
    }
    return 0;
}
