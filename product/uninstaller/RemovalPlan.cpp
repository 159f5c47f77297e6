#include "RemovalPlan.h"

#include <algorithm>

#include "PathName.h"

namespace kelp {

namespace {

size_t Depth(const std::string& p) { return static_cast<size_t>(std::count(p.begin(), p.end(), '\\')); }

bool EndsWithExe(const std::string& s) {
    return s.size() >= 4 && PathKey(s.substr(s.size() - 4)) == ".EXE";
}

void AddFolder(std::vector<std::string>& folders, const std::string& dir) {
    for (const auto& f : folders)
        if (SamePath(f, dir)) return;
    folders.push_back(dir);
}

}  // namespace

bool IsPlainKeyName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '\\' || c == '/' || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

TRemovalPlan BuildRemovalPlan(const TInstallLog& log, const std::string& logPath, const TPathPolicy& policy) {
    TRemovalPlan plan;
    plan.AppName = log.AppName;
    plan.LogPath = NormalisePath(logPath);
    plan.Destination = policy.Destination();

    auto consider = [&](const std::string& line) {
        TPathVerdict v = policy.Check(line);
        if (v.Kind == TPathKind::Refused) {
            plan.Refused.push_back({line, v.Reason});
            return;
        }
        if (SamePath(v.Path, plan.LogPath)) return;  // removed last, on its own
        for (const auto& f : plan.Files)
            if (SamePath(f.Path, v.Path)) return;
        plan.Files.push_back({v.Path, v.Kind, v.Root});
    };
    for (const auto& line : log.Copied) consider(line);
    for (const auto& line : log.Created) consider(line);

    if (IsPlainKeyName(log.AppName))
        plan.UninstallKey = kUninstallRoot + log.AppName;
    else
        plan.Refused.push_back({"AppName: " + log.AppName, "it is no plain registry key name"});

    auto exe = std::find_if(log.Copied.begin(), log.Copied.end(), EndsWithExe);
    if (exe != log.Copied.end()) {
        std::string name = FileNamePart(*exe);
        if (IsPlainKeyName(name)) plan.AppPathsKey = kAppPathsRoot + name;
        TPathVerdict v = policy.Check(*exe);
        if (v.Kind == TPathKind::Destination) plan.ProgramPath = v.Path;
    }

    // Folders the installation may have made: every level between a removed file
    // and its root, deepest first; the destination itself comes last.
    std::vector<std::string> folders;
    for (const auto& f : plan.Files) {
        if (f.Kind == TPathKind::Uninstaller) continue;
        for (std::string dir = ParentPath(f.Path); IsInside(dir, f.Root); dir = ParentPath(dir))
            if (!policy.IsProtectedFolder(dir)) AddFolder(folders, dir);
    }
    // The installer makes this one on a backup Yes without logging it; it goes
    // when it holds no backed-up files.
    std::string backup = plan.Destination + "\\" + kBackupFolder;
    if (!policy.IsProtectedFolder(plan.Destination) && !policy.IsProtectedFolder(backup)) AddFolder(folders, backup);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    if (!policy.IsProtectedFolder(plan.Destination)) folders.push_back(plan.Destination);
    plan.Folders = std::move(folders);
    return plan;
}

}  // namespace kelp
