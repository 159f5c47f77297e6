#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "This build carries no uninstaller.", "Uninstall", MB_OK | MB_ICONERROR);
    return 1;
}
