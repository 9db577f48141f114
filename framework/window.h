// A value over a window handle: it does not own the window. Every method is one platform call.
#pragma once

#include <windows.h>

class Window {
public:
    Window() = default;
    explicit Window(HWND window) : hwnd_(window) {}

    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }
    // Points the wrapper at `window`; false when there is none. Subclassing wrappers hide this.
    bool Attach(HWND window)
    {
        hwnd_ = window;
        return window != nullptr;
    }

    int Id() const { return GetDlgCtrlID(hwnd_); }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    void Show(bool visible) const { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
    void Enable(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

    bool SetText(const char* text) const { return SetWindowTextA(hwnd_, text) != FALSE; }
    // Copies at most capacity - 1 characters; returns the number copied.
    int GetText(char* buffer, int capacity) const { return GetWindowTextA(hwnd_, buffer, capacity); }

    bool Move(int x, int y, int width, int height, bool repaint = true) const
    {
        return MoveWindow(hwnd_, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
    }
    bool Resize(int width, int height) const
    {
        return SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW) != FALSE;
    }
    RECT ClientRect() const
    {
        RECT r{};
        GetClientRect(hwnd_, &r);
        return r;
    }
    RECT ScreenRect() const
    {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }

    void SetFont(HFONT font, bool redraw = true) const
    {
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

    void Invalidate(bool erase = true) const { InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
    }

protected:
    HWND hwnd_ = nullptr;
};
