#include "skin_box_driver.h"

#include <cstring>

#include "ui/skin_message_box.h"

namespace {

constexpr UINT kTickMs = 10;
constexpr int kTicksToClose = 500;
constexpr int kTicksToSettle = 200;

struct BoxRun {
    std::function<void(HWND)> action;
    HWND box = nullptr;
    int ticksSinceAction = 0;
    int ticksWaitingForFocus = 0;
};
BoxRun* current = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[16];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) && std::strcmp(name, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!current) return;
    if (current->box) {
        if (++current->ticksSinceAction > kTicksToClose && IsWindow(current->box))
            EndDialog(current->box, kBoxLeftOpen);
        return;
    }
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    // Under a display without a window manager the box can be visible a moment before it is activated and
    // its first button has the focus; the action sees it settled (or, after a bound, as it is).
    HWND focus = GetFocus();
    if (!(focus && IsChild(box, focus)) && ++current->ticksWaitingForFocus < kTicksToSettle) return;
    current->box = box;
    current->action(box);
}

}  // namespace

int RunSkinBox(const char* text, const char* caption, unsigned int style, std::function<void(HWND box)> action)
{
    BoxRun run{std::move(action)};
    current = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
    int result = SkinMessageBox(text, caption, style);
    KillTimer(nullptr, timer);
    current = nullptr;
    return result;
}

void PressKey(HWND box, WPARAM key)
{
    HWND focus = GetFocus();
    PostMessageA(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN, key, 1);
}

void ClickButton(HWND box, int id)
{
    PostMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void CloseFromTitleBar(HWND box)
{
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
}
