#include "PathPolicy.h"

#include "PathName.h"
#include "UninstallError.h"

namespace kelp {

namespace {
bool EndsWithNoCase(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && PathKey(s.substr(s.size() - tail.size())) == PathKey(tail);
}
}  // namespace

TPathPolicy::TPathPolicy(const TPolicyFolders& folders)
    : destination_(NormalisePath(folders.Destination)), windowsDir_(NormalisePath(folders.WindowsDir)) {
    uninstaller_ = NormalisePath(windowsDir_ + "\\vezavu.exe");
    for (const auto& f : folders.ShortcutFolders) {
        // A folder that cannot be read is simply not a place shortcuts may be removed from.
        try {
            shortcutFolders_.push_back(NormalisePath(f));
        } catch (const EBadPath&) {
        }
    }
}

TPathVerdict TPathPolicy::Check(const std::string& text) const {
    TPathVerdict v;
    try {
        v.Path = NormalisePath(text);
    } catch (const EBadPath& e) {
        v.Reason = e.Message();
        return v;
    }
    if (SamePath(v.Path, uninstaller_)) {
        v.Kind = TPathKind::Uninstaller;
        v.Root = windowsDir_;
        return v;
    }
    // The Windows directory is never ours, even under a destination that holds it.
    if (SamePath(v.Path, windowsDir_) || IsInside(v.Path, windowsDir_)) {
        v.Reason = "it lies in the Windows directory";
        return v;
    }
    if (IsInside(v.Path, destination_)) {
        v.Kind = TPathKind::Destination;
        v.Root = destination_;
        return v;
    }
    for (const auto& folder : shortcutFolders_) {
        if (!IsInside(v.Path, folder)) continue;
        if (!EndsWithNoCase(v.Path, ".lnk")) {
            v.Reason = "only shortcuts are removed from " + folder;
            return v;
        }
        v.Kind = TPathKind::Shortcut;
        v.Root = folder;
        return v;
    }
    v.Reason = "it lies outside the installation folder and the shortcut folders";
    return v;
}

bool TPathPolicy::IsProtectedFolder(const std::string& dir) const {
    auto guards = [&](const std::string& special) { return SamePath(dir, special) || IsInside(special, dir); };
    if (guards(windowsDir_)) return true;
    for (const auto& f : shortcutFolders_)
        if (guards(f)) return true;
    // The destination itself is removed by name, last; folders holding it are not ours.
    return IsInside(destination_, dir);
}

}  // namespace kelp
