// Directory helpers of the file-control routines.
#pragma once
#include <string>

#include "base/FilePath.h"

#include "base/Exception.h"

namespace kelp {

// True when path exists and is a directory.
bool DirectoryExists(const std::string& path);
// Creates dir and its missing parents after dropping one trailing backslash.
// Raises EInOutError "Unable to create directory" only for an empty path; a
// directory it fails to create is not reported.
void ForceDirectories(std::string dir);

}  // namespace kelp
