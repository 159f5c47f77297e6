// The system's own wording for an error code, for the messages the user reads.
#pragma once
#include <windows.h>

#include <string>

namespace kelp {

// The message text without its trailing line break, ending in ".".
std::string SystemMessage(DWORD code);

}  // namespace kelp
