#include "Uninstaller.h"

#include "FileRemoval.h"
#include "PathName.h"
#include "RegistryCleanup.h"

namespace kelp {

namespace {

class TRun {
public:
    TRun(const TRemovalPlan& plan, const TProgressEvent& progress) : plan_(plan), progress_(progress) {
        total_ = plan.Files.size() + plan.Folders.size() + 3;
        report.AppName = plan.AppName;
    }

    void Step(const std::string& status, const std::string& item) {
        int percent = static_cast<int>(done_ * 100 / (total_ ? total_ : 1));
        ++done_;
        if (progress_) progress_({status, item, percent});
    }

    void Record(const std::string& what, const TRemoveResult& r) {
        switch (r.Outcome) {
            case TRemoveOutcome::Removed: report.Removed.push_back(what); break;
            case TRemoveOutcome::Scheduled: report.AtRestart.push_back(what); break;
            case TRemoveOutcome::Left: report.Left.push_back({what, r.Reason}); break;
            case TRemoveOutcome::Missing: break;
        }
    }

    void Finish() {
        if (progress_) progress_({"Done", "", 100});
    }

    TUninstallReport report;

private:
    const TRemovalPlan& plan_;
    const TProgressEvent& progress_;
    size_t total_ = 0, done_ = 0;
};

}  // namespace

TUninstallReport RunUninstall(const TRemovalPlan& plan, const TPathPolicy& policy, const std::string& selfPath,
                              const TProgressEvent& progress) {
    TRun run(plan, progress);
    for (const auto& r : plan.Refused) run.report.Refused.push_back({r.Line, r.Reason});

    std::string self;
    try {
        self = NormalisePath(selfPath);
    } catch (const std::exception&) {
    }
    bool selfListed = false;
    for (const auto& f : plan.Files) {
        run.Step("Removing files", f.Path);
        if (!self.empty() && SamePath(f.Path, self)) {
            selfListed = true;  // handled last, at restart
            continue;
        }
        if (PassesThroughLink(f.Path, f.Root)) {
            run.report.Left.push_back({f.Path, "it lies behind a folder link that may lead elsewhere"});
            continue;
        }
        run.Record(f.Path, RemoveOneFile(f.Path));
    }

    run.Step("Removing registry entries", plan.UninstallKey);
    if (!plan.UninstallKey.empty())
        run.Record("HKEY_LOCAL_MACHINE\\" + plan.UninstallKey, RemoveUninstallKey(plan.UninstallKey, plan.LogPath, policy.UninstallerPath()));
    run.Step("Removing registry entries", plan.AppPathsKey);
    if (!plan.AppPathsKey.empty())
        run.Record("HKEY_LOCAL_MACHINE\\" + plan.AppPathsKey, RemoveAppPathsKey(plan.AppPathsKey, plan.ProgramPath));
    run.report.FtpHandler = FtpHandlerStarting(plan.ProgramPath);

    run.Step("Removing files", plan.LogPath);
    run.Record(plan.LogPath, RemoveOneFile(plan.LogPath));

    bool anyScheduled = !run.report.AtRestart.empty();
    for (const auto& dir : plan.Folders) {
        run.Step("Removing folders", dir);
        TRemoveResult r = RemoveEmptyFolder(dir);
        // A folder kept only by files that go at restart goes at restart after them.
        if (r.Outcome == TRemoveOutcome::Left && anyScheduled) {
            bool holdsScheduled = false;
            for (const auto& s : run.report.AtRestart)
                if (IsInside(s, dir)) holdsScheduled = true;
            if (holdsScheduled) {
                TRemoveResult later = ScheduleAtRestart(dir);
                r = later.Outcome == TRemoveOutcome::Scheduled
                        ? later
                        : TRemoveResult{TRemoveOutcome::Left, "it holds files in use: " + later.Reason};
            }
        }
        run.Record(dir, r);
    }

    // A running program cannot delete its own file: Windows does it at restart.
    if (!self.empty() && SamePath(self, policy.UninstallerPath())) {
        TRemoveResult r = ScheduleAtRestart(self);
        if (r.Outcome == TRemoveOutcome::Scheduled)
            run.report.SelfAtRestart = self;
        else
            run.report.Left.push_back({self, "the uninstaller itself: " + r.Reason});
    } else if (selfListed) {
        run.report.Left.push_back({self, "it is the running uninstaller"});
    }
    run.Finish();
    return run.report;
}

}  // namespace kelp
