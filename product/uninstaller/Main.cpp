// vezavu.exe: removes what the KelpFTP installer left, as its install.log records.
// Started by Windows as "<Windows dir>\vezavu.exe <install dir>\install.log".
#include <windows.h>

#include "CommandLine.h"
#include "PathName.h"
#include "ProgressForm.h"
#include "RemovalPlan.h"
#include "SystemPaths.h"
#include "UninstallError.h"
#include "Uninstaller.h"
#include "win/Application.h"
#include "win/MessageDlg.h"

using namespace kelp;

namespace {

// Exit codes, for whoever starts us: done, failed before changing anything,
// declined by the user, done with something left behind.
enum { kDone = 0, kFailed = 1, kDeclined = 2, kPartly = 3 };

int Uninstall(TfrmRemove& form) {
    std::string logPath = LogPathFromCommandLine(::GetCommandLineA(), OwnModulePath());
    TInstallLog log = ReadInstallLog(logPath);
    std::string normalLog;
    try {
        normalLog = NormalisePath(logPath);
    } catch (const EBadPath& e) {
        throw EBadInstallLog("The installation log cannot be used: " + e.Message() + ". Nothing was removed.");
    }
    TPathPolicy policy({ParentPath(normalLog), WindowsDirectory(), ShortcutFolders()});
    TRemovalPlan plan = BuildRemovalPlan(log, normalLog, policy);

    std::string title = log.AppName.empty() ? std::string("Uninstall") : log.AppName + " Uninstall";
    Application.SetTitle(title);
    form.SetCaption(title);
    if (ConfirmBox("Are you sure you want to remove " + log.AppName + " and all of its components?") != mrYes)
        return kDeclined;

    form.Show();
    form.Repaint();
    TUninstallReport report = RunUninstall(plan, policy, OwnModulePath(), [&](const TUninstallProgress& p) {
        form.ShowStep(p.Status, p.Item, p.Percent);
    });
    form.Hide();
    MessageDlg(title, SummaryText(report),
               reinterpret_cast<const char*>(report.Complete() ? IDI_INFORMATION : IDI_WARNING), {{"OK", mrOk}}, 0,
               mrOk);
    return report.Complete() ? kDone : kPartly;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application.Initialize();
    Application.SetTitle("Uninstall");
    // Created first so that it is the main form and owns the boxes.
    TfrmRemove form;
    try {
        return Uninstall(form);
    } catch (const std::exception& e) {
        form.Hide();
        Application.ShowException(e);
        return kFailed;
    }
}
