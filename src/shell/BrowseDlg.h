// The destination directory browser: a modal dialog whose path field proposes
// the listed directory joined with TargetFolder.
#pragma once
#include <string>

#include "win/Component.h"

namespace kelp {

class TKelpBrowseDir : public TComponent {
public:
    std::string TargetFolder;
    std::string Directory;
    std::string CaptionText;
    bool ReadOnly = false;
    std::string InitialDir;

    // True when the user closed the dialog with OK; Directory is set either way.
    bool Execute();
};

}  // namespace kelp
