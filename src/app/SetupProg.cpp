// Entry point: application title, shell services, the background window and the
// hidden progress dialog, then the message loop. The command line is ignored.
#include <windows.h>

#include <memory>

#include "app/Copy.h"
#include "app/Main.h"
#include "shell/Link.h"
#include "win/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace kelp;
    try {
        Application.SetTitle("Setup");
        Application.Initialize();
        ShellServices shell;
        auto main = std::make_unique<TfrmMain>();
        frmMain = main.get();
        auto copy = std::make_unique<TfrmCopy>();
        frmCopy = copy.get();
        Application.Run();
        copy.reset();
        frmCopy = nullptr;
        main.reset();
        frmMain = nullptr;
    } catch (const std::exception& e) {
        Application.ShowException(e);
        return 1;
    }
    return 0;
}
