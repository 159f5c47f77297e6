// Raised when a registry key or value the shell lookups rely on is missing or unusable.
#pragma once
#include "base/Exception.h"

namespace kelp {

KELP_EXCEPTION(ERegistryException);

}  // namespace kelp
