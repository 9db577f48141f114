// List boxes. Counts and indexes are the platform's; LB_ERR (-1) reports a failure.
#pragma once

#include "framework/window.h"

class ListBox : public Window {
public:
    using Window::Window;
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    int Add(const char* text) const { return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    void Clear() const { Send(LB_RESETCONTENT); }
    int TextLength(int index) const { return static_cast<int>(Send(LB_GETTEXTLEN, index)); }
    // `buffer` must hold TextLength(index) + 1 characters.
    int Text(int index, char* buffer) const
    {
        return static_cast<int>(Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer)));
    }
    void Select(int index) const { Send(LB_SETCURSEL, index); }
    int HorizontalExtent() const { return static_cast<int>(Send(LB_GETHORIZONTALEXTENT)); }
    void SetHorizontalExtent(int pixels) const { Send(LB_SETHORIZONTALEXTENT, pixels); }
};
