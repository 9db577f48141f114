// A control of a dialog template turned into a C++ object: its window procedure is replaced so that its messages
// go through the object's message table first and then to the procedure it had before.
//
//     class CColourLabel : public SubclassedControl<Static> { ... Messages() ... };
//     Bind(label_, 1068);   // in the dialog's BindControls
#pragma once

#include "framework/message_map.h"
#include "framework/window.h"

class ControlSubclass : public MessageReceiver {
public:
    ControlSubclass() = default;
    ~ControlSubclass() override { Unhook(); }
    ControlSubclass(const ControlSubclass&) = delete;
    ControlSubclass& operator=(const ControlSubclass&) = delete;

    // The object subclassing `window`, or null; a parent uses it to reflect messages to the control's class.
    static ControlSubclass* FromWindow(HWND window);

protected:
    // False when `window` is null or already subclassed by an object. Unhooks a window hooked before.
    bool Hook(HWND window);
    // Puts the previous procedure back (done by itself when the window is destroyed).
    void Unhook();

    LRESULT DefaultFor(const Message& message) override;
    const MessageTable& Messages() const override;  // empty: a control class brings its own

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hooked_ = nullptr;
    WNDPROC previous_ = nullptr;
};

// A typed wrapper (Button, Static, ListBox...) whose window is subclassed by this object.
template <class Wrapper>
class SubclassedControl : public Wrapper, public ControlSubclass {
public:
    bool Attach(HWND window)
    {
        if (!Hook(window)) return false;
        this->hwnd_ = window;
        return true;
    }
};
