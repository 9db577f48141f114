// Drives the real program from outside, as a user would, across process boundaries: starts it, finds its
// windows, clicks buttons and keys by posting messages (keyboard input through X may not reach unmanaged
// Wine windows), answers its questions and reads back texts, list lines, visibility, enabled state and the
// window rectangle. Every wait is a poll for a condition with a bound.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

constexpr DWORD kWindowTimeoutMs = 30000;  // program start under Wine, first prefix use included
constexpr DWORD kReplyTimeoutMs = 10000;   // one round trip to a busy (scanning) window
constexpr DWORD kScanTimeoutMs = 240000;   // one whole scan of a seeded prefix

// The window texts the program shows.
extern const char kProductCaption[];  // "Vexilor Ver 1.0"

// Control ids of the main window.
enum ControlId : int {
    ID_CANCEL = 2,
    ID_RESULTS_FRAME = 1034,
    ID_SCAN = 1052,
    ID_DOWNLOAD = 1053,
    ID_CLOSE_X = 1054,
    ID_RESULTS = 1055,
    ID_STATUS_FRAME = 1064,
    ID_STATUS = 1065,
    ID_FAMILY = 1068,
    ID_OK = 1070,
    ID_COPYRIGHT = 1072,
    ID_DESCRIPTION = 1074,
    ID_INSTALLED_NOTE = 1075,
    ID_SEARCHING_FOR = 1076,
    ID_PRODUCT_BANNER = 1077,
    ID_TOOLS_BANNER = 1080,
    ID_LOGO = 1085,
};

// Polls `condition` every `pollMs` milliseconds until it holds or `timeoutMs` has passed; true if it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// WM_GETTEXT through the window's own procedure (works across processes); empty when it does not answer.
std::string Text(HWND window);
// Every line of a list box, read with the wide messages (the ANSI ones return UTF-16 across processes under
// Wine 8) and converted back.
std::vector<std::string> ListLines(HWND list);
bool Visible(HWND window);
bool Enabled(HWND window);
RECT WindowRect(HWND window);

// Posts a click to a button; posting, because the click may open a modal question that would block a send.
void Click(HWND button);
// Posts one keystroke, the key going down or coming up, with the flags and scan code a keyboard gives it, to
// the control of `window` that has the keyboard focus (`window` itself when none of its controls has it).
void PostKeystroke(HWND window, UINT virtualKey, bool down);
// A key press and release.
void PressKey(HWND window, UINT virtualKey);
// Returns once the window's thread has handled every message posted to it before this call.
bool Flush(HWND dialog);

// Asks the script that runs this program for a screenshot of the display and waits for it to be taken. Does
// nothing unless the script asked for screenshots (VEX_GUI_SHOTS=1). Waits first until the window has
// painted.
void Screenshot(HWND window, const char* name);

// One started copy of the program, from the folder this test program runs in. A copy still running when the
// object goes is terminated.
class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs) const;
    DWORD ProcessId() const { return info_.dwProcessId; }

    // The visible top-level window of this process titled `caption`, other than `except`; null after the bound.
    HWND FindWindowTitled(const char* caption, HWND except, DWORD timeoutMs) const;
    HWND FindMainWindow() const { return FindWindowTitled(kProductCaption, nullptr, kWindowTimeoutMs); }

private:
    PROCESS_INFORMATION info_{};
};

// The program's folder: where this test program runs.
std::string ProgramFolder();
// Top-level windows of any process titled `caption`.
int CountTopLevelWindows(const char* caption);

}  // namespace gui
