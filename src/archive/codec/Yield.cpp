#include "archive/codec/Yield.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelp {

void YieldTimeSlice() {
#ifdef _WIN32
    Sleep(0);
#endif
    // Elsewhere nothing waits on our thread's message queue: a no-op keeps the codec fast.
}

}  // namespace kelp
