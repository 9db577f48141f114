#include "framework/subclassed_control.h"

#include "framework/exception_trace.h"

namespace {

// The window property holding the subclassing object.
constexpr char kObjectProperty[] = "VexilorControlObject";

}  // namespace

ControlSubclass* ControlSubclass::FromWindow(HWND window)
{
    return window ? static_cast<ControlSubclass*>(GetPropA(window, kObjectProperty)) : nullptr;
}

bool ControlSubclass::Hook(HWND window)
{
    if (!window || FromWindow(window)) return false;
    Unhook();
    if (!SetPropA(window, kObjectProperty, this)) return false;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlSubclass::Procedure)));
    if (!previous_) {
        RemovePropA(window, kObjectProperty);
        return false;
    }
    hooked_ = window;
    return true;
}

void ControlSubclass::Unhook()
{
    if (!hooked_) return;
    // Only put the old procedure back when nobody subclassed the window after us; otherwise their chain
    // would be cut. Without the property our procedure then passes everything to DefWindowProcA.
    if (GetWindowLongPtrA(hooked_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlSubclass::Procedure))
        SetWindowLongPtrA(hooked_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropA(hooked_, kObjectProperty);
    hooked_ = nullptr;
}

LRESULT ControlSubclass::DefaultFor(const Message& message)
{
    return CallWindowProcA(previous_, hooked_, message.id, message.wParam, message.lParam);
}

const MessageTable& ControlSubclass::Messages() const
{
    static const MessageTable none{nullptr, 0, nullptr};
    return none;
}

LRESULT CALLBACK ControlSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlSubclass* self = FromWindow(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = self->previous_;
    if (message == WM_NCDESTROY) {
        self->Unhook();
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (self->DispatchMessageToTable({message, wParam, lParam}, result)) return result;
    } catch (...) {
        // Nothing may unwind into the system's code; the message falls through to the control's own handling.
        TraceStoppedException("a control procedure", message);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
