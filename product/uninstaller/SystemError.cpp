#include "SystemError.h"

namespace kelp {

std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : "Error " + std::to_string(code);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty() || text.back() != '.') text += '.';
    return text;
}

}  // namespace kelp
