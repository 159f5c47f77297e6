// Root of every exception the system raises: one class per failure kind, each
// carrying only its message (what the user is shown).
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace kelp {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

#define KELP_EXCEPTION(Name)                                   \
    class Name : public ::kelp::Exception {                    \
    public:                                                    \
        using ::kelp::Exception::Exception;                    \
    }

// Platform-level failures (what the runtime library would raise).
KELP_EXCEPTION(EStreamError);
KELP_EXCEPTION(EWriteError);   // "Stream write error"
KELP_EXCEPTION(EReadError);    // "Stream read error"
KELP_EXCEPTION(EFCreateError); // "Cannot create file %s"
KELP_EXCEPTION(EFOpenError);   // "Cannot open file %s"
KELP_EXCEPTION(EInOutError);   // directory creation failures
KELP_EXCEPTION(EResNotFound);  // "Resource %s not found"

}  // namespace kelp
