// The installation run: log, backups, expansion of the payload, registry
// entries and shortcuts, then the finish page.
#include <memory>

#include "app/Copy.h"
#include "app/InstallLog.h"
#include "app/Main.h"
#include "app/Registration.h"
#include "app/Setup.h"
#include "base/StringList.h"
#include "win/Application.h"
#include "win/FileCtrl.h"

namespace kelp {

namespace {

// The log is open only while a run writes it; a run stopped by an error leaves
// the file with the lines written so far.
std::unique_ptr<TInstallLog> LogFile;

bool FileExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string UpperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

}  // namespace

void TfrmSetup::InstallFiles() {
    frmCopy->lblCopyStatus->SetCaption("Copying Files");
    frmCopy->Show();
    frmCopy->Repaint();

    FileList->Clear();
    int sitesIndex = -1;
    const std::string dirName = lblDestPath->DirName();
    InstallDir = dirName + "\\";
    const std::string backupDir = dirName + "\\Backup\\";

    LogFile.reset();
    LogFile = std::make_unique<TInstallLog>(InstallDir + "install.log");
    LogFile->WriteLine("*** Install started: " + LogDateTimeNow());
    LogFile->WriteLine("AppName: " + frmMain->SetupControl.ProgramName);

    Comp.SetTargetPath(dirName);
    {
        auto archive = TArchiver::OpenArchiveResource("data", "");
        Comp.ListArchiveEntries(*archive, *FileList);
    }

    for (size_t i = 0; i < FileList->Count(); ++i) {
        const std::string& name = (*FileList)[i];
        // A site list the user already has is neither replaced nor backed up.
        if (UpperCase(name) == "SITES.INI" && FileExists(InstallDir + "sites.ini")) {
            sitesIndex = static_cast<int>(i);
            continue;
        }
        if (DoBackup && FileExists(InstallDir + name))
            ::MoveFileExA((InstallDir + name).c_str(), (backupDir + name).c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    if (sitesIndex != -1) FileList->Delete(static_cast<size_t>(sitesIndex));

    {
        auto archive = TArchiver::OpenArchiveResource("data", "");
        Application.ProcessMessages();
        Comp.ExpandArchiveEntries(*archive, FileList);
    }

    frmCopy->lblFilename->SetCaption("");
    frmCopy->lblCopyStatus->SetCaption("Creating Registry Entries...");
    Application.ProcessMessages();

    CreateRegistryEntries(frmMain->SetupControl, WinDir, InstallDir, *LogFile);
    CreateShortcuts(frmMain->SetupControl, Shortcut, InstallDir, *LogFile);

    frmCopy->Hide();
    frmCopy->Repaint();

    LogFile->WriteLine("CreateFile: " + InstallDir + "kelpftp.ini");
    LogFile->WriteLine("CreateFile: " + InstallDir + "kelpftp.log");
    LogFile->WriteLine("CreateFile: " + InstallDir + "sites.ini");
    LogFile->WriteLine("*** Install Completed: " + LogDateTimeNow());
    LogFile->Close();
    LogFile.reset();

    pnlFinish->Show();
    btnNext->SetText("Finish");
    frmMain->CurrentPage = 3;
    Show();
    Repaint();
}

void TfrmSetup::CompCheckFile(std::string& filepath, TCProcessMode) {
    const std::string fileName = ExtractFileName(filepath);
    frmCopy->lblFilename->SetCaption(fileName);
    if (UpperCase(fileName) == "VEZAVU.EXE") {
        filepath = WinDir + fileName;  // the uninstaller lives in the Windows directory
        return;
    }
    LogFile->WriteLine("Copy: " + filepath);
}

void TfrmSetup::CompShowProgress(int32_t& PercentageDone) {
    frmCopy->Progress->SetProgress(PercentageDone);
    Application.ProcessMessages();
}

}  // namespace kelp
