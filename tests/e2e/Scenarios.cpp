// The scenarios: each walks the real installer as a user would and checks what
// the user would see, then what is (or is not) on disk.
#include <algorithm>

#include "Checks.h"
#include "Driver.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {

namespace {


void Cancel(const std::string&) {
    Wizard w = Start();
    CheckEq(TextOf(w.Main), "KelpFTP 2.61 Setup", "background window caption");
    CheckEq(TextOf(::FindWindowA("TApplication", nullptr)), "Setup", "task bar text");
    CheckEq(TextOf(w.Setup), "KelpFTP", "wizard caption");
    Check(!w.OnCustom() && !w.OnDestination() && !w.OnFinish(), "wizard opens on the welcome page");
    Screenshot("01-welcome");

    ToDestination(w);
    Check(!w.OnCustom(), "no custom page without Custom");
    const std::string dest = DefaultDestination();
    CheckEq(TextOf(w.DestLabel()), dest, "default destination");
    Screenshot("02-destination");

    Click(w.Cancel());
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to cancel Setup?", "cancel question");
    CheckEq(q.ButtonCaptions(), "&Yes then &No", "buttons");
    Check((::GetWindowLongA(q.Buttons[0], GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON, "Yes is the default button");
    Screenshot("03-confirm-cancel");
    Answer(q, "&No");
    Check(Visible(w.Setup) && w.OnDestination(), "No keeps the wizard on the destination page");

    Click(w.Cancel());
    q = WaitQuestion("Confirm");
    SysClose(q.Box);
    WaitGone(q.Box, "confirm box closed by its title bar");
    Check(Visible(w.Setup) && w.OnDestination(), "no answer keeps the wizard on its page");

    Click(w.Cancel());
    q = WaitQuestion("Confirm");
    HWND focus = q.Button("&Yes");
    PressKey(focus, VK_ESCAPE);
    WaitGone(q.Box, "confirm box after Esc");
    Check(Visible(w.Setup) && w.OnDestination(), "Esc answers No");

    CancelConfirmed(w);
    Check(!DirExists(dest), "a confirmed cancel creates nothing");
}

void Custom(const std::string&) {
    Wizard w = Start();
    Click(w.NextButton());
    WaitFor([&] { return w.OnCustom(); }, "custom page");
    HWND next = w.NextButton();
    Check(!::IsWindowEnabled(next), "Next disabled on arrival");
    auto edits = Children(w.Setup, "Edit");
    Check(edits.size() == 2, "two edits");
    std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    HWND user = edits[0], pass = edits[1];
    Check(::SendMessageA(pass, EM_GETPASSWORDCHAR, 0, 0) == '*', "password shows *");
    Screenshot("04-custom");
    SetEditText(user, "anna");
    Check(!::IsWindowEnabled(next), "user name alone keeps Next disabled");
    SetEditText(pass, "secret");
    Check(::IsWindowEnabled(next) != FALSE, "both filled enable Next");
    SetEditText(user, "");
    Check(!::IsWindowEnabled(next), "clearing the user name disables Next again");
    SetEditText(user, "anna");
    SetEditText(pass, "");
    Check(!::IsWindowEnabled(next), "clearing the password disables Next again");
    SetEditText(pass, "secret");
    Check(::IsWindowEnabled(next) != FALSE, "refilled: Next enabled");
    Screenshot("05-custom-filled");
    Click(next);
    WaitFor([&] { return w.OnDestination(); }, "destination page after the custom page");
    CancelConfirmed(w);
}

void SystemClose(const std::string&) {
    Wizard w = Start();
    Click(w.NextButton());
    WaitFor([&] { return w.OnCustom(); }, "custom page");
    auto edits = Children(w.Setup, "Edit");
    SetEditText(edits[0], "anna");
    SysClose(w.Main);
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to cancel Setup?", "system-menu close asks");
    Answer(q, "&No");
    Check(Visible(w.Main) && Visible(w.Setup) && w.OnCustom(), "No keeps the wizard on the custom page");
    CheckEq(TextOf(edits[0]), "anna", "the typed user name stays");
    SysClose(w.Main);
    q = WaitQuestion("Confirm");
    Answer(q, "&Yes");
    WaitGone(w.Main, "background window");
    Check(!DirExists(DefaultDestination()), "nothing created");
}

void Missing(const std::string&) {
    Wizard w = Start();
    Screenshot("01-welcome");
    ToDestination(w);
    Screenshot("02-destination");
    const std::string dest = TextOf(w.DestLabel());
    Check(!DirExists(dest), "destination missing beforehand");
    // Enter presses the default button, Next.
    PressKey(w.Setup, VK_RETURN);
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "The directory: \r\r" + dest + "\r\r does not exist.  Do you want to create it ? ",
            "creation question");
    Screenshot("06-create-question");
    Answer(q, "&No");
    Check(Visible(w.Setup) && w.OnDestination(), "No stays on the destination page");
    Check(!TopWindow("TMessageForm"), "nothing further is asked");
    Check(!DirExists(dest), "No creates nothing");
    CheckEq(TextOf(w.DestLabel()), dest, "destination unchanged");

    Click(w.NextButton());
    q = WaitQuestion("Confirm");
    Answer(q, "&Yes");
    q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Do you want to backup replaced files ?  ", "backup question");
    Check(DirExists(dest), "Yes created the destination");
    Check(!Visible(w.Setup), "the wizard is hidden during the backup question");
    Screenshot("07-backup-question");
    Answer(q, "&Yes");
    RunToFinish(w, "&Yes");
    Check(DirExists(dest + "\\Backup"), "backup Yes creates Backup");
    HWND finish = w.NextButton();
    CheckEq(TextOf(finish), "Finish", "Next reads Finish");
    Check(::SendMessageA(Child(w.Setup, "Button", "View the README file now"), BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
              ::SendMessageA(Child(w.Setup, "Button", "Run KelpFTP now"), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          "finish check boxes unchecked");
    Screenshot("08-finish");
    Click(finish);
    WaitGone(w.Main, "background window after Finish");

    // The three shortcuts as the shell reads them back.
    for (const char* folder : {"Programs", "SendTo", "Desktop"}) {
        const std::string lnk = ShellFolder(folder) + "\\KelpFTP.lnk";
        auto link = ReadShortcut(lnk);
        Check(link.has_value(), std::string("shortcut in ") + folder + " loads");
        CheckEq(link->Target, dest + "\\KelpFTP.exe", std::string(folder) + " shortcut target");
        CheckEq(link->WorkingDirectory, dest + "\\", std::string(folder) + " shortcut working directory");
        CheckEq(link->Description, "KelpFTP", std::string(folder) + " shortcut description");
    }
}

void Empty(const std::string&) {
    Wizard w = Start();
    ToDestination(w);
    // Stands for a destination the user emptied in an editable browser.
    SetEditText(w.DestLabel(), "");
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "The directory: \r\r\r\r does not exist.  Do you want to create it ? ", "empty destination asked");
    Answer(q, "&Yes");
    HWND box = WaitTopWindow("#32770", "Setup");
    CheckEq(TextOf(WaitChild(box, "Static", "Unable to create directory.")), "Unable to create directory.",
            "standard error box");
    Screenshot("09-empty-error");
    Click(WaitChild(box, "Button", "OK"));
    WaitGone(box, "error box");
    Check(Visible(w.Setup) && w.OnDestination(), "still on the destination page");
    CancelConfirmed(w);
}

// A drop-down list's window text is its selected item.
std::string DriveOf(HWND combo) { return TextOf(combo).substr(0, 2); }

void PickDrive(HWND combo, char letter) {
    std::string prefix{letter, ':'};
    auto index = ::SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
    Check(index >= 0, "drive " + prefix + " listed");
    ::SendMessageA(combo, CB_SETCURSEL, index, 0);
    ::PostMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
}

void OpenListItem(HWND list, const std::string& item, bool byEnter) {
    auto index = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
    Check(index >= 0, "directory entry " + item);
    ::SendMessageA(list, LB_SETCURSEL, index, 0);
    if (byEnter)
        PressKey(list, VK_RETURN);
    else
        ::PostMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(list));
}

void Browse(const std::string& qRoot) {
    Wizard w = Start();
    ToDestination(w);
    const std::string dest = TextOf(w.DestLabel());
    Click(WaitChild(w.Setup, "Button", "&Browse"));
    HWND dlg = WaitTopWindow("TfrmBrowse", "Browse");
    HWND path = WaitChild(dlg, "Edit");
    HWND list = WaitChild(dlg, "ListBox");
    HWND drives = WaitChild(dlg, "ComboBox");
    CheckEq(TextOf(path), dest, "path field starts on the destination");
    Check((::GetWindowLongA(path, GWL_STYLE) & ES_READONLY) != 0, "path field read-only");
    Screenshot("10-browse");
    OpenListItem(list, "C:\\", true);
    WaitText(path, "C:\\KelpFTP", "path field after opening C:\\ by Enter");
    OpenListItem(list, "windows", false);
    WaitText(path, "C:\\windows\\KelpFTP", "path field after a double-click on windows");
    Screenshot("11-browse-navigated");
    Click(WaitChild(dlg, "Button", "Ca&ncel"));
    WaitGone(dlg, "browse dialog");
    CheckEq(TextOf(w.DestLabel()), dest, "Cancel keeps the destination");

    Click(WaitChild(w.Setup, "Button", "&Browse"));
    dlg = WaitTopWindow("TfrmBrowse", "Browse");
    path = WaitChild(dlg, "Edit");
    list = WaitChild(dlg, "ListBox");
    drives = WaitChild(dlg, "ComboBox");
    CheckEq(TextOf(path), dest, "InitialDir is not moved by a cancelled browse");

    if (!qRoot.empty()) {
        // Drive q: maps a directory the driver can take away and bring back.
        const std::string gone = qRoot + ".away";
        PickDrive(drives, 'q');
        WaitText(path, "Q:\\KelpFTP", "path field on drive q:");
        PickDrive(drives, 'c');
        WaitFor([&] { return TextOf(path).rfind("C:\\", 0) == 0; }, "back on drive c:");
        const std::string onC = TextOf(path);
        Check(::MoveFileA(qRoot.c_str(), gone.c_str()) != FALSE, "drive q: taken away");
        PickDrive(drives, 'q');
        Question q = WaitQuestion("Error");
        CheckEq(q.Text, "Unable to access q:\\", "drive error text");
        CheckEq(q.ButtonCaptions(), "Cancel then &Retry", "buttons");
        Screenshot("12-drive-error");
        Answer(q, "Cancel");
        WaitFor([&] { return DriveOf(drives) == "c:"; }, "selector back on c:");
        CheckEq(TextOf(path), onC, "Cancel leaves the path field");
        PickDrive(drives, 'q');
        q = WaitQuestion("Error");
        Answer(q, "&Retry");
        q = WaitQuestion("Error");
        Check(::MoveFileA(gone.c_str(), qRoot.c_str()) != FALSE, "drive q: back");
        Answer(q, "&Retry");
        WaitText(path, "Q:\\KelpFTP", "Retry lists the drive once it answers");
        PickDrive(drives, 'c');
        WaitFor([&] { return TextOf(path).rfind("C:\\", 0) == 0; }, "back on drive c: again");
    }

    OpenListItem(list, "C:\\", false);
    WaitText(path, "C:\\KelpFTP", "path field on C:\\");
    Click(WaitChild(dlg, "Button", "&OK"));
    WaitGone(dlg, "browse dialog after OK");
    WaitText(w.DestLabel(), "C:\\KelpFTP", "destination after OK");
    Screenshot("13-destination-browsed");
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    Answer(q, "&Yes");
    q = WaitQuestion("Confirm");
    Answer(q, "&No");
    Check(DirExists("C:\\KelpFTP"), "chosen destination created");
    RunToFinish(w, "&No");
    Check(!DirExists("C:\\KelpFTP\\Backup"), "backup No creates no Backup");
    Click(w.NextButton());
    WaitGone(w.Main, "background window after Finish");
}

}  // namespace

KELP_E2E_SCENARIO(cancel, Cancel);
KELP_E2E_SCENARIO(custom, Custom);
KELP_E2E_SCENARIO(sysclose, SystemClose);
KELP_E2E_SCENARIO(missing, Missing);
KELP_E2E_SCENARIO(empty, Empty);
KELP_E2E_SCENARIO(browse, Browse);

}  // namespace e2e
