#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"

namespace zarc {
// Replaced by the real command once the encoders land.
int RunCreate(const Args&) {
    Error("create", "not available in this build");
    return kExitFailure;
}
}  // namespace zarc
