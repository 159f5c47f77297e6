// Base of the non-visual components placed on forms.
#pragma once
#include <string>

namespace kelp {

class TComponent {
public:
    virtual ~TComponent() = default;
    std::string Name;
};

}  // namespace kelp
