// kelp_setres EXE NAME FILE: replaces the RCDATA resource NAME of EXE with the
// bytes of FILE, as a release engineer makes a variant installer.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kelp_setres EXE NAME FILE\n");
        return 2;
    }
    std::ifstream in(argv[3], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[3]);
        return 1;
    }
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HANDLE h = ::BeginUpdateResourceA(argv[1], FALSE);
    if (!h) {
        std::fprintf(stderr, "cannot open %s for update\n", argv[1]);
        return 1;
    }
    if (!::UpdateResourceA(h, MAKEINTRESOURCEA(10), argv[2], MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), data.data(),
                           static_cast<DWORD>(data.size())) ||
        !::EndUpdateResourceA(h, FALSE)) {
        std::fprintf(stderr, "cannot update %s\n", argv[1]);
        return 1;
    }
    return 0;
}
