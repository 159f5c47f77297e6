// Where this Windows keeps the folders the policy needs, and where we run from.
#pragma once
#include <string>
#include <vector>

namespace kelp {

std::string WindowsDirectory();
// The current user's Programs, SendTo and Desktop folders from the Shell Folders
// key; those that are missing are left out.
std::vector<std::string> ShortcutFolders();
std::string OwnModulePath();

}  // namespace kelp
