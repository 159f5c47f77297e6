#pragma once
#include "win/Layout.h"

namespace kelp {
const std::vector<TControlSpec>& MainLayout();
TFormSpec MainFormSpec();
}  // namespace kelp
