// The archive component's exception classes, one fixed message each.
#pragma once
#include <string>

#include "archive/codec/CodecErrors.h"
#include "base/Exception.h"

namespace kelp {

KELP_EXCEPTION(EInvalidHeader);
KELP_EXCEPTION(EInvalidHeaderArchiveType);
KELP_EXCEPTION(EUnrecognizedCompressionMethod);
KELP_EXCEPTION(EInsufficientDiskSpace);
KELP_EXCEPTION(EBadChecksum);
KELP_EXCEPTION(EInvalidKey);

inline constexpr const char* kInvalidHeaderMessage = "Can't recognize compressed file header";
inline constexpr const char* kInvalidArchiveTypeMessage = "Archive type must be caMulti";
inline constexpr const char* kBadChecksumMessage = "Bad checksum during expansion -- data may be invalid";
inline constexpr const char* kInvalidKeyMessage = "File locked -- valid key required";

inline std::string UnrecognizedMethodMessage(const std::string& id) {
    return "Unrecognized compression method: \"" + id + "\" in header";
}
inline std::string InsufficientDiskSpaceMessage(const std::string& path) {
    return "Not enough disk space to expand " + path;
}

}  // namespace kelp
