// kelp_e2e_driver SCENARIO SHOTDIR [ARG]: drives a running Setup.exe in the same
// Wine prefix through one scenario; exit code 0 when every check held.
#include <cstdio>

#include "Driver.h"
#include "Scenario.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kelp_e2e_driver SCENARIO SHOTDIR [ARG]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    e2e::SetShotDir(argv[2]);
    return e2e::RunScenario(argv[1], argc > 3 ? argv[3] : "");
}
