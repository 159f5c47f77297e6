#pragma once
#include "win/Layout.h"

namespace kelp {
const std::vector<TControlSpec>& SetupLayout();
TFormSpec SetupFormSpec();
}  // namespace kelp
