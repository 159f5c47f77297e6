#include "Driver.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace e2e {

namespace {
std::string shotDir = ".";
constexpr DWORD kDeadlineMs = 60000;  // a fresh prefix can take long to show the first window

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

struct FindCtx {
    std::string cls, text;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND h, LPARAM p) {
    auto* ctx = reinterpret_cast<FindCtx*>(p);
    if (Visible(h) && (ctx->cls.empty() || SameText(ClassOf(h), ctx->cls)) &&
        (ctx->text.empty() || TextOf(h) == ctx->text))
        ctx->found.push_back(h);
    return TRUE;
}

BOOL CALLBACK CollectTop(HWND h, LPARAM p) {
    auto* ctx = reinterpret_cast<FindCtx*>(p);
    if (Visible(h) && SameText(ClassOf(h), ctx->cls) && (ctx->text.empty() || TextOf(h) == ctx->text))
        ctx->found.push_back(h);
    return TRUE;
}
}  // namespace

void Check(bool ok, const std::string& what) {
    if (!ok) throw Failure(what);
    std::printf("  ok: %s\n", what.c_str());
    std::fflush(stdout);
}

void CheckEq(const std::string& got, const std::string& want, const std::string& what) {
    if (got != want) throw Failure(what + ": got \"" + got + "\", want \"" + want + "\"");
    std::printf("  ok: %s\n", what.c_str());
    std::fflush(stdout);
}

void WaitFor(const std::function<bool()>& ready, const std::string& what) {
    DWORD start = ::GetTickCount();
    while (!ready()) {
        if (::GetTickCount() - start > kDeadlineMs) throw Failure("never happened: " + what);
        ::Sleep(30);
    }
}

std::string TextOf(HWND h) {
    char buf[4096] = "";
    // WM_GETTEXT rather than GetWindowText: it reads controls of other processes too.
    ::SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}

std::string ClassOf(HWND h) {
    char buf[256] = "";
    ::GetClassNameA(h, buf, sizeof buf);
    return buf;
}

bool Visible(HWND h) { return h && ::IsWindowVisible(h); }

HWND TopWindow(const std::string& cls, const std::string& caption) {
    FindCtx ctx{cls, caption, {}};
    ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found.empty() ? nullptr : ctx.found.front();
}

HWND WaitTopWindow(const std::string& cls, const std::string& caption) {
    HWND h = nullptr;
    WaitFor([&] { return (h = TopWindow(cls, caption)) != nullptr; }, "window " + cls + " \"" + caption + "\"");
    return h;
}

void WaitGone(HWND h, const std::string& what) {
    WaitFor([&] { return !::IsWindow(h) || !::IsWindowVisible(h); }, what + " goes away");
}

std::vector<HWND> Children(HWND parent, const std::string& cls, const std::string& text) {
    FindCtx ctx{cls, text, {}};
    ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND Child(HWND parent, const std::string& cls, const std::string& text) {
    auto v = Children(parent, cls, text);
    return v.empty() ? nullptr : v.front();
}

HWND WaitChild(HWND parent, const std::string& cls, const std::string& text) {
    HWND h = nullptr;
    WaitFor([&] { return (h = Child(parent, cls, text)) != nullptr; }, "control " + cls + " \"" + text + "\"");
    return h;
}

void Click(HWND button) {
    std::string what = TextOf(button);
    what += " is enabled for the click";
    Check(::IsWindowEnabled(button) != FALSE, what);
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

void SetEditText(HWND edit, const std::string& text) {
    // The edit tells its parent EN_CHANGE itself, as when the user types.
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressKey(HWND target, WPARAM vk) {
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    ::PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

void SysClose(HWND top) { ::PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND Question::Button(const std::string& caption) const {
    for (HWND b : Buttons)
        if (TextOf(b) == caption) return b;
    throw Failure("no button " + caption + " on " + Title);
}

std::string Question::ButtonCaptions() const {
    std::string all;
    for (HWND b : Buttons) all += (all.empty() ? "" : " then ") + TextOf(b);
    return all;
}

Question WaitQuestion(const std::string& title) {
    Question q;
    q.Box = WaitTopWindow("TMessageForm", title);
    q.Title = title;
    HWND text = WaitChild(q.Box, "Static");
    q.Text = TextOf(text);
    WaitFor([&] { return !Children(q.Box, "Button").empty(); }, "buttons of " + title);
    q.Buttons = Children(q.Box, "Button");
    std::sort(q.Buttons.begin(), q.Buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return q;
}

void Answer(const Question& q, const std::string& caption) {
    Click(q.Button(caption));
    WaitGone(q.Box, q.Title + " box");
}

void SetShotDir(const std::string& dir) { shotDir = dir; }

void SaveScreen(const std::string& path) {
    HDC screen = ::GetDC(nullptr);
    int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        std::fwrite(bits, 1, size, f);
        std::fclose(f);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

void Screenshot(const std::string& name) {
    ::Sleep(0);
    SaveScreen(shotDir + "\\" + name + ".bmp");
    std::printf("  shot: %s\n", name.c_str());
}

}  // namespace e2e
