// Splitting Windows-style paths: the directory part ends at the last "\" or ":".
#pragma once
#include <string>

namespace kelp {

// Text up to and including the last "\" or ":".
inline std::string ExtractFilePath(const std::string& path) {
    const size_t p = path.find_last_of("\\:");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

// Text after the last "\" or ":".
inline std::string ExtractFileName(const std::string& path) {
    const size_t p = path.find_last_of("\\:");
    return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace kelp
