// Opening the archive a command names, with the message the user sees on failure.
#pragma once
#include <memory>
#include <string>

#include "archive/FileSystem.h"

namespace zarc {

inline std::unique_ptr<kelp::fs::FileStream> OpenArchive(const std::string& path) {
    return kelp::fs::OpenFileRead(path);
}

// "1999-08-04 03:48:30" from a DOS date-time.
std::string FormatDosDateTime(uint32_t dos);

}  // namespace zarc
