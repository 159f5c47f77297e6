// The files a create run takes in: each with its host path and its entry name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zarc {

struct InputFile {
    std::string hostPath;
    std::string entryName;  // relative to the argument it came from, backslash-separated
};

// Expands the arguments: a file stands for itself (named by its last component),
// a directory for every regular file below it, in name order. `exclude` (the
// archive being written) is left out wherever it turns up. Raises kelp::Exception
// ("<path>: <reason>") for an argument that is neither.
std::vector<InputFile> CollectInputs(const std::vector<std::string>& arguments, const std::string& exclude);

}  // namespace zarc
