#include "tests/gui/gui_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace gui {

const char kProductCaption[] = "Vexilor Ver 1.0";

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(pollMs);
    }
}

namespace {

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result, bool wide)
{
    const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
    return wide ? SendMessageTimeoutW(window, message, wParam, lParam, flags, kReplyTimeoutMs, result) != 0
                : SendMessageTimeoutA(window, message, wParam, lParam, flags, kReplyTimeoutMs, result) != 0;
}

}  // namespace

std::string Text(HWND window)
{
    DWORD_PTR length = 0;
    if (!window || !Ask(window, WM_GETTEXTLENGTH, 0, 0, &length, false)) return "";
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!Ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied, false)) return "";
    return std::string(buffer.data());
}

std::vector<std::string> ListLines(HWND list)
{
    std::vector<std::string> lines;
    DWORD_PTR count = 0;
    if (!list || !Ask(list, LB_GETCOUNT, 0, 0, &count, true)) return lines;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!Ask(list, LB_GETTEXTLEN, i, 0, &length, true) || static_cast<LONG_PTR>(length) < 0) break;
        std::vector<wchar_t> wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!Ask(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()), &copied, true)) break;
        std::vector<char> narrow(2 * length + 2, '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                            nullptr);
        lines.emplace_back(narrow.data());
    }
    return lines;
}

bool Visible(HWND window)
{
    return window && IsWindowVisible(window);
}
bool Enabled(HWND window)
{
    return window && IsWindowEnabled(window);
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void Click(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

void PostKeystroke(HWND window, UINT virtualKey, bool down)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus &&
        (thread.hwndFocus == window || IsChild(window, thread.hwndFocus)))
        target = thread.hwndFocus;
    // Repeat count 1; a release also has the key's previous state and its transition bits set.
    const LPARAM flags = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, 0)) << 16 | 1;
    PostMessageA(target, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, down ? flags : flags | 0xC0000000);
}

void PressKey(HWND window, UINT virtualKey)
{
    PostKeystroke(window, virtualKey, true);
    PostKeystroke(window, virtualKey, false);
}

bool Flush(HWND dialog)
{
    // Posted messages of one thread are handled in order, so once a harmless posted request has taken effect,
    // everything posted before it has been handled too. The results list's horizontal extent serves as that
    // request; the values stay below the list's width, so no scroll bar appears, and never carry 0x1B (Escape)
    // in the low word, which the scan's message pump would take for the Escape key.
    static WPARAM token = 0;
    token = token % 400 + 1;
    if ((token & 0xFFFF) == 0x1B) ++token;
    HWND list = GetDlgItem(dialog, ID_RESULTS);
    if (!list || !PostMessageA(list, LB_SETHORIZONTALEXTENT, token, 0)) return false;
    return WaitFor(
        [&] {
            DWORD_PTR extent = 0;
            return Ask(list, LB_GETHORIZONTALEXTENT, 0, 0, &extent, false) && extent == token;
        },
        kReplyTimeoutMs);
}

namespace {

bool NothingToPaint(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

}  // namespace

void Screenshot(HWND window, const char* name)
{
    const char* wanted = std::getenv("VEX_GUI_SHOTS");
    if (!wanted || std::strcmp(wanted, "1") != 0) return;
    if (window) WaitFor([&] { return NothingToPaint(window); }, kReplyTimeoutMs);
    std::fflush(stdout);
    std::printf("@@SHOT %s\n", name);
    std::fflush(stdout);
    // The script answers with one line once the picture is saved; end of input also ends the wait.
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char c = 0;
    DWORD got = 0;
    while (ReadFile(input, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
    }
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

namespace {

struct TitleSearch {
    const char* caption;
    DWORD processId;  // 0: any process
    HWND except;
    HWND found;
    int count;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter)
{
    TitleSearch* search = reinterpret_cast<TitleSearch*>(parameter);
    char title[300] = {};
    GetWindowTextA(window, title, sizeof title);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::strcmp(title, search->caption) != 0 || window == search->except) return TRUE;
    if (search->processId && (owner != search->processId || !IsWindowVisible(window))) return TRUE;
    ++search->count;
    if (!search->found) search->found = window;
    return TRUE;
}

}  // namespace

int CountTopLevelWindows(const char* caption)
{
    TitleSearch search{caption, 0, nullptr, nullptr, 0};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

Program::Program()
{
    std::string folder = ProgramFolder();
    std::string path = folder + "\\vexilor.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info_))
        info_ = PROCESS_INFORMATION{};
}

Program::~Program()
{
    if (!Started()) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForExit(kReplyTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Program::Running() const
{
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD timeoutMs) const
{
    return Started() && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

HWND Program::FindWindowTitled(const char* caption, HWND except, DWORD timeoutMs) const
{
    TitleSearch search{caption, info_.dwProcessId, except, nullptr, 0};
    WaitFor(
        [&] {
            search.found = nullptr;
            EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr || !Running();
        },
        timeoutMs);
    return search.found;
}

}  // namespace gui
