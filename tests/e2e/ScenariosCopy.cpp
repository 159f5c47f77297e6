// Scenarios of the installation run itself: what the progress dialog shows,
// how the run meets a failure, a file in use and a cancel, and the finish
// actions; plus the timing walk the speed report drives.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "Checks.h"
#include "Driver.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {

namespace {

// The progress dialog: its two text lines, top to bottom, and its Cancel button.
struct CopyDialog {
    HWND Form = nullptr;
    HWND Status = nullptr;
    HWND File = nullptr;
    HWND Cancel = nullptr;
};

int TopOf(HWND h) {
    RECT r;
    ::GetWindowRect(h, &r);
    return r.top;
}

CopyDialog WaitCopyDialog() {
    CopyDialog d;
    d.Form = WaitTopWindow("TfrmCopy", "Setup");
    WaitFor([&] { return Children(d.Form, "Static").size() == 2; }, "the progress dialog's two text lines");
    auto lines = Children(d.Form, "Static");
    std::sort(lines.begin(), lines.end(), [](HWND a, HWND b) { return TopOf(a) < TopOf(b); });
    d.Status = lines[0];
    d.File = lines[1];
    d.Cancel = WaitChild(d.Form, "Button", "&Cancel");
    return d;
}

// The gauge's percentage as drawn: the length of the black bar along the top
// row inside its sunken frame, where the centred percentage text never reaches.
// Nothing while that row is not a clean bar on white (another window was just
// over it and the dialog has not repainted yet).
std::optional<int> ReadGauge(HWND form) {
    const int dpi = [] {
        HDC s = ::GetDC(nullptr);
        int d = ::GetDeviceCaps(s, LOGPIXELSX);
        ::ReleaseDC(nullptr, s);
        return d;
    }();
    auto px = [dpi](int v) { return ::MulDiv(v, dpi, 96); };
    POINT at{px(9), px(46)};
    ::ClientToScreen(form, &at);
    const int frame = 2;  // a sunken edge is two pixels wide
    const int left = at.x + frame, top = at.y + frame, width = px(231) - 2 * frame;

    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, width, 1, screen, left, top, SRCCOPY);
    ::GdiFlush();
    const auto* row = static_cast<const DWORD*>(bits);
    int bar = 0;
    while (bar < width && (row[bar] & 0xFFFFFF) == 0) ++bar;
    bool restWhite = true;
    for (int x = bar; x < width; ++x) restWhite = restWhite && (row[x] & 0xFFFFFF) == 0xFFFFFF;
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    if (!restWhite) return std::nullopt;
    return (bar * 100 + width / 2) / width;
}

int GaugePercent(HWND form) {
    std::optional<int> p;
    WaitFor([&] { return (p = ReadGauge(form)).has_value(); }, "the gauge reads as a black bar on white");
    return *p;
}

// The window's text as the system keeps it: no message to its thread, so it
// reads also while that thread is held.
std::string CachedText(HWND h) {
    char buf[1024] = "";
    ::GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

// Keeps the thread of a window of the installer from running while it lives.
class HeldThread {
public:
    explicit HeldThread(HWND w) {
        DWORD id = ::GetWindowThreadProcessId(w, nullptr);
        thread_ = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, id);
        Check(thread_ != nullptr && ::SuspendThread(thread_) != static_cast<DWORD>(-1), "installer thread held");
    }
    ~HeldThread() {
        ::ResumeThread(thread_);
        ::CloseHandle(thread_);
    }
    HeldThread(const HeldThread&) = delete;
    HeldThread& operator=(const HeldThread&) = delete;

private:
    HANDLE thread_ = nullptr;
};

HWND ErrorBox() { return TopWindow("#32770", "Setup"); }

// Waits for the finish page or the shortcut question; an error box on the way
// fails at once instead of at the deadline.
void WaitFinishOrShortcutQuestion(const Wizard& w) {
    WaitFor(
        [&] {
            if (HWND box = ErrorBox()) {
                HWND text = Child(box, "Static");
                throw Failure("an error box came up: " + (text ? TextOf(text) : std::string("?")));
            }
            return (Visible(w.Setup) && w.OnFinish()) || TopWindow("TMessageForm", "Confirm");
        },
        "finish page or the shortcut question");
}

std::string Destination(const std::string& dest, const std::string& name) { return dest + "\\" + name; }

// The log lines every completed run writes, shortcuts aside.
void CheckCompletedLog(const std::string& dest, const std::vector<std::string>& shortcutLines) {
    auto lines = ReadLogLines(Destination(dest, "install.log"));
    const std::string D = dest + "\\";
    std::vector<std::string> want{"AppName: KelpFTP",        "Copy: " + D + "KelpFTP.exe",
                                  "Copy: " + D + "KelpFTP.hlp", "Copy: " + D + "README.TXT",
                                  "Copy: " + D + "SITES.INI",   "Copy: " + D + "whatsnew.txt",
                                  "RegKey: ftp\\shell\\open\\command"};
    want.insert(want.end(), shortcutLines.begin(), shortcutLines.end());
    want.push_back("CreateFile: " + D + "kelpftp.ini");
    want.push_back("CreateFile: " + D + "kelpftp.log");
    want.push_back("CreateFile: " + D + "sites.ini");
    Check(lines.size() == want.size() + 2,
          "install.log has " + std::to_string(want.size() + 2) + " lines (has " + std::to_string(lines.size()) + ")");
    Check(lines.front().rfind("*** Install started: ", 0) == 0 && lines.front().size() > 21, "log start line");
    for (size_t i = 0; i < want.size(); ++i) CheckEq(lines[i + 1], want[i], "log line " + std::to_string(i + 2));
    Check(lines.back().rfind("*** Install Completed: ", 0) == 0 && lines.back().size() > 23, "log closing line");
}

// ---- notcreated: a destination that cannot be made stops the run at the log.
void NotCreated(const std::string&) {
    // Below an existing file: no directory can ever be made there.
    const std::string parent = "C:\\setup\\Setup.exe";
    const std::string dest = parent + "\\KelpFTP";
    Check(FileExists(parent), "the installer file the destination goes below exists");
    Wizard w = Start();
    ToDestination(w);
    SetEditText(w.DestLabel(), dest);
    CheckEq(TextOf(w.DestLabel()), dest, "destination typed into the label");
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "The directory: \r\r" + dest + "\r\r does not exist.  Do you want to create it ? ",
            "creation question");
    Answer(q, "&Yes");
    // Force-create says nothing of what it could not make.
    q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Do you want to backup replaced files ?  ", "backup question follows without an error");
    Check(!DirExists(dest), "the destination could not be made");
    Answer(q, "&Yes");

    HWND box = WaitTopWindow("#32770", "Setup");
    std::string message;
    for (HWND s : Children(box, "Static"))
        if (TextOf(s).rfind("Cannot create file", 0) == 0) message = TextOf(s);
    const std::string head = "Cannot create file " + dest + "\\install.log.";
    Check(message.rfind(head, 0) == 0, "the error box names the log it could not create: \"" + message + "\"");
    Check(message.size() > head.size() + 1 && message.back() == '.', "the system's reason follows, ending in \".\"");
    CopyDialog copy = WaitCopyDialog();
    Check(Visible(copy.Form), "the progress dialog is up behind the error box");
    CheckEq(TextOf(copy.Status), "Copying Files", "progress dialog status");
    CheckEq(TextOf(copy.File), "", "no file line");
    Check(!Visible(w.Setup), "the wizard stays hidden");
    Screenshot("20-log-error");
    Click(WaitChild(box, "Button", "OK"));
    WaitGone(box, "error box");

    Check(Visible(copy.Form), "the progress dialog stays after the error");
    CheckEq(TextOf(copy.Status), "Copying Files", "status kept after the error");
    Check(!Visible(w.Setup), "the wizard still hidden after the error");
    Check(!FileExists(dest + "\\install.log") && !DirExists(dest), "no install.log, no destination");
    Check(FileExists(parent), "the file in the way is still a file");
    Check(!RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey),
          "no uninstall entry");
    Check(!FileExists(WindowsDir() + "\\vezavu.exe"), "no uninstaller written");
    Screenshot("21-progress-after-error");

    // Only the progress dialog's Cancel is left to the user.
    Click(copy.Cancel);
    q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to cancel Setup?", "cancel question from the progress dialog");
    Answer(q, "&No");
    Check(Visible(copy.Form) && !Visible(w.Setup), "No keeps the progress dialog and nothing else");
    Click(copy.Cancel);
    q = WaitQuestion("Confirm");
    Screenshot("22-cancel-after-error");
    Answer(q, "&Yes");
    WaitGone(w.Main, "background window");
    Check(!::IsWindow(copy.Form) || !Visible(copy.Form), "progress dialog gone");
}

// ---- locked: a destination file held open is passed over without a word.
const char kLockedContent[] = "KelpFTP 2.60, still running\r\n";

void Locked(const std::string&) {
    Wizard w = Start();
    ToDestination(w);
    const std::string dest = TextOf(w.DestLabel());
    Check(::CreateDirectoryA(dest.c_str(), nullptr) != FALSE, "destination made beforehand");
    const std::string exe = Destination(dest, "KelpFTP.exe");
    WriteWholeFile(exe, kLockedContent);
    // Held as a running program holds its file: nobody else may open it.
    HANDLE held = ::CreateFileA(exe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(held != INVALID_HANDLE_VALUE, "KelpFTP.exe held open without sharing");
    struct Closer {
        HANDLE h;
        ~Closer() { ::CloseHandle(h); }
    } closer{held};
    Check(!ReadWholeFile(exe).has_value(), "the held file cannot be opened by others");

    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Do you want to backup replaced files ?  ", "no creation question for an existing destination");
    Answer(q, "&No");
    WaitFinishOrShortcutQuestion(w);
    if (!(Visible(w.Setup) && w.OnFinish())) {
        q = WaitQuestion("Confirm");
        CheckEq(q.Text, "Create shortcuts on the Desktop and Programs menu ?", "shortcut question");
        Answer(q, "&No");
    }
    WaitFor([&] { return Visible(w.Setup) && w.OnFinish(); }, "finish page");
    Check(!ErrorBox(), "no error box");
    Screenshot("30-locked-finish");

    char buf[256] = "";
    DWORD got = 0;
    ::SetFilePointer(held, 0, nullptr, FILE_BEGIN);
    Check(::ReadFile(held, buf, sizeof buf, &got, nullptr) != FALSE, "the held file reads through its handle");
    CheckEq(std::string(buf, got), kLockedContent, "the held KelpFTP.exe is unchanged");
    for (const char* name : {"KelpFTP.hlp", "README.TXT", "SITES.INI", "whatsnew.txt"}) {
        auto bytes = ReadWholeFile(Destination(dest, name));
        Check(bytes && !bytes->empty(), std::string(name) + " installed");
    }
    Check(FileExists(WindowsDir() + "\\vezavu.exe"), "the uninstaller installed");
    CheckCompletedLog(dest, {});
    CheckEq(RegString(HKEY_LOCAL_MACHINE, kUninstallKey,
                      "DisplayName")
                .value_or(""),
            "KelpFTP", "uninstall entry written");
    Check(!DirExists(Destination(dest, "Backup")), "backup No: no Backup directory");

    Click(w.NextButton());
    WaitGone(w.Main, "background window after Finish");
}

// ---- cancelcopy: a cancel confirmed during the copy lets the run finish.
const char kBigFile[] = "KelpFTP.hlp";  // the variant payload's big entry

void CancelCopy(const std::string&) {
    Wizard w = Start();
    const std::string dest = StartRun(w, "&Yes");

    CopyDialog copy = WaitCopyDialog();
    CheckEq(TextOf(copy.Status), "Copying Files", "progress dialog status");
    WaitText(copy.File, kBigFile, "file line");
    std::string fileAtClick;
    int gaugeAtClick = 0;
    {
        // Held still while the driver looks and clicks, so the click is queued
        // while the big file is being written, however busy the machine is.
        HeldThread held(copy.Form);
        CheckEq(CachedText(copy.Status), "Copying Files", "still copying when the click is made");
        fileAtClick = CachedText(copy.File);
        gaugeAtClick = GaugePercent(copy.Form);
        Check(fileAtClick == kBigFile && gaugeAtClick < 95,
              "the click is made with " + fileAtClick + " at " + std::to_string(gaugeAtClick) + "%");
        Screenshot("40-copy-progress");
        ::PostMessageA(copy.Cancel, BM_CLICK, 0, 0);
    }

    // No: the question is put in the middle of the copy, and the copy goes on.
    Question q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Are you sure you want to cancel Setup?", "cancel question during the copy");
    CheckEq(TextOf(copy.Status), "Copying Files", "asked while copying");
    CheckEq(TextOf(copy.File), kBigFile, "asked while the big file is written");
    Screenshot("41-cancel-over-progress");
    Answer(q, "&No");
    Check(Visible(copy.Form), "No keeps the progress dialog");
    // Once repainted, the bar reads at least where it was; then it grows, or the
    // copy moves on to the next file.
    int afterNo = GaugePercent(copy.Form);
    Check(afterNo >= gaugeAtClick || TextOf(copy.File) != kBigFile,
          "the gauge kept its place (" + std::to_string(afterNo) + "%)");
    WaitFor([&] { return TextOf(copy.File) != kBigFile || ReadGauge(copy.Form).value_or(-1) > afterNo; },
            "the copy goes on after No");
    Check(!Visible(w.Setup), "the wizard stays hidden while the run goes on");
    Screenshot("42-copy-goes-on");

    // Yes: the run still goes to its end, and then the installer ends by itself.
    {
        HeldThread held(copy.Form);
        std::printf("  note: Yes click made at \"%s\" / \"%s\"\n", CachedText(copy.Status).c_str(),
                    CachedText(copy.File).c_str());
        ::PostMessageA(copy.Cancel, BM_CLICK, 0, 0);
    }
    q = WaitQuestion("Confirm");
    const std::string statusAtYes = TextOf(copy.Status), fileAtYes = TextOf(copy.File);
    std::printf("  note: cancel question put at \"%s\" / \"%s\"\n", statusAtYes.c_str(), fileAtYes.c_str());
    Answer(q, "&Yes");
    WaitFor(
        [&] {
            if (TopWindow("TMessageForm")) throw Failure("a question came up after the confirmed cancel");
            if (ErrorBox()) throw Failure("an error box came up after the confirmed cancel");
            return !::IsWindow(w.Main);
        },
        "the installer ends by itself");

    // Everything the run does was done; the unanswered shortcut question counts as Yes.
    std::vector<std::string> shortcutLines;
    for (const char* folder : {"Programs", "SendTo", "Desktop"}) {
        const std::string lnk = ShellFolder(folder) + "\\KelpFTP.lnk";
        auto link = ReadShortcut(lnk);
        Check(link.has_value(), std::string("shortcut in ") + folder + " made without asking");
        CheckEq(link->Target, dest + "\\KelpFTP.exe", std::string(folder) + " shortcut target");
        shortcutLines.push_back("CreateFile: " + lnk);
    }
    CheckCompletedLog(dest, shortcutLines);
    CheckEq(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").value_or(""), "KelpFTP", "DisplayName");
    Check(!RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("").empty(), "UninstallString");
    CheckEq(RegString(HKEY_LOCAL_MACHINE, kAppPathsKey, "")
                .value_or(""),
            dest + "\\KelpFTP.exe", "application path");
    Check(DirExists(Destination(dest, "Backup")), "Backup directory");
}

// ---- finishboth: the finish page starts the program and the README viewer.
struct CaptionSearch {
    std::string part;
    HWND found;
};

// A named callback: a lambda does not convert to the stdcall WNDENUMPROC of i686.
BOOL CALLBACK FindCaptionPart(HWND h, LPARAM p) {
    auto* c = reinterpret_cast<CaptionSearch*>(p);
    std::string t = TextOf(h);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char ch) { return std::tolower(ch); });
    if (Visible(h) && t.find(c->part) != std::string::npos) {
        c->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND TopWindowWithCaption(const std::string& part) {
    CaptionSearch search{part, nullptr};
    ::EnumWindows(FindCaptionPart, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void FinishBoth(const std::string&) {
    Wizard w = Start();
    const std::string dest = StartRun(w, "&No");
    RunToFinish(w, "&No");
    Check(!TopWindow("KelpFTPMain") && !TopWindowWithCaption("notepad"), "neither program runs yet");
    HWND readme = WaitChild(w.Setup, "Button", "View the README file now");
    HWND run = WaitChild(w.Setup, "Button", "Run KelpFTP now");
    Click(readme);
    Click(run);
    WaitFor([&] { return ::SendMessageA(readme, BM_GETCHECK, 0, 0) == BST_CHECKED; }, "README box checked");
    WaitFor([&] { return ::SendMessageA(run, BM_GETCHECK, 0, 0) == BST_CHECKED; }, "run box checked");
    Screenshot("50-finish-both-checked");
    Click(w.NextButton());
    WaitGone(w.Main, "background window after Finish");

    HWND program = WaitTopWindow("KelpFTPMain", "KelpFTP 2.61");
    CheckEq(TextOf(program), "KelpFTP 2.61", "the installed program's window");
    HWND notepad = nullptr;
    WaitFor([&] { return (notepad = TopWindowWithCaption("readme")) != nullptr; }, "a notepad window on the README");
    HWND edit = WaitChild(notepad, "Edit");
    auto readmeBytes = ReadWholeFile(Destination(dest, "README.TXT"));
    Check(readmeBytes.has_value(), "README.TXT installed");
    WaitFor([&] { return !TextOf(edit).empty(); }, "notepad shows text");
    CheckEq(TextOf(edit), *readmeBytes, "notepad shows the installed README");
    // Both open at the top left; side by side, the screenshot shows both.
    ::SetWindowPos(notepad, HWND_TOP, 300, 250, 700, 450, SWP_SHOWWINDOW);
    ::SetWindowPos(program, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Screenshot("51-program-and-readme");

    for (HWND h : {program, notepad}) ::PostMessageA(h, WM_CLOSE, 0, 0);
    WaitGone(program, "program window");
    WaitGone(notepad, "notepad window");
}

// ---- bench_copytime: times the run for the speed report (not a test).
// Polls every 2 ms with calls that send the installer nothing (window classes,
// texts as the system keeps them), so the figures are neither rounded up to
// the scenario steps' 30 ms nor slowed by the watching. Prints the run from
// the backup answer to the shortcut question, and the expansion alone (first
// file line to "Creating Registry Entries..."). ARG "cancel" instead times the
// progress dialog's Cancel while the big file is written: from the click to
// the question, a few times over the copy, each answered No. The clicks are
// spaced by 2.5 s: under Wine without a window manager, hiding the question
// box makes its thread wait up to 2 s for the X server to confirm, which is
// not the copy's doing and would otherwise be timed as well.
void TightWait(const std::function<bool()>& ready, const std::string& what) {
    const DWORD start = ::GetTickCount();
    while (!ready()) {
        if (::GetTickCount() - start > 300000) throw Failure("never happened: " + what);
        ::Sleep(2);
    }
}

void BenchCopyTime(const std::string& arg) {
    Wizard w = Start();
    ToDestination(w);
    Click(w.NextButton());
    Question q = WaitQuestion("Confirm");
    Answer(q, "&Yes");
    q = WaitQuestion("Confirm");
    LARGE_INTEGER freq, t0, tFirst, tCopied, t1;
    ::QueryPerformanceFrequency(&freq);
    auto ms = [&](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
        return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
    };
    ::QueryPerformanceCounter(&t0);
    Click(q.Button("&No"));
    CopyDialog copy = WaitCopyDialog();
    // The run ends in the shortcut question (always put while nobody cancelled).
    auto asked = [] { return TopWindow("TMessageForm") != nullptr; };
    if (arg == "cancel") {
        TightWait([&] { return CachedText(copy.File) == kBigFile; }, "the big file");
        for (int i = 0; i < 6; ++i) {
            if (i > 0) ::Sleep(2500);
            if (CachedText(copy.File) != kBigFile) break;
            LARGE_INTEGER c0, c1;
            ::QueryPerformanceCounter(&c0);
            ::PostMessageA(copy.Cancel, BM_CLICK, 0, 0);
            TightWait(asked, "a question");
            ::QueryPerformanceCounter(&c1);
            Question box = WaitQuestion("Confirm");
            if (box.Text != "Are you sure you want to cancel Setup?") break;  // the copy had ended
            std::printf("BENCH cancel_response_ms %.1f\n", ms(c0, c1));
            Answer(box, "&No");
        }
        TightWait(asked, "the shortcut question");
    } else {
        TightWait([&] { return !CachedText(copy.File).empty(); }, "the first file");
        ::QueryPerformanceCounter(&tFirst);
        TightWait([&] { return CachedText(copy.Status) == "Creating Registry Entries..." || asked(); },
                  "the end of the copy");
        ::QueryPerformanceCounter(&tCopied);
        TightWait(asked, "the shortcut question");
        ::QueryPerformanceCounter(&t1);
        std::printf("BENCH run_ms %.1f\n", ms(t0, t1));
        std::printf("BENCH expand_ms %.1f\n", ms(tFirst, tCopied));
    }
    q = WaitQuestion("Confirm");
    CheckEq(q.Text, "Create shortcuts on the Desktop and Programs menu ?", "the run's end");
    Answer(q, "&No");
    WaitFor([&] { return Visible(w.Setup) && w.OnFinish(); }, "finish page");
    Click(w.NextButton());
    WaitGone(w.Main, "background window after Finish");
}

}  // namespace

KELP_E2E_SCENARIO(notcreated, NotCreated);
KELP_E2E_SCENARIO(locked, Locked);
KELP_E2E_SCENARIO(cancelcopy, CancelCopy);
KELP_E2E_SCENARIO(finishboth, FinishBoth);
KELP_E2E_SCENARIO(bench_copytime, BenchCopyTime);

}  // namespace e2e
