#include "framework/dialog.h"

#include "framework/exception_trace.h"
#include "framework/resources.h"
#include "framework/subclassed_control.h"

namespace {

// The dialog procedure returns these messages' results itself; all others go through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
           message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           message == WM_QUERYDRAGICON;
}

bool IsNotification(UINT message)
{
    return message == WM_COMMAND || message == WM_NOTIFY;
}

// The child a reflected message is about, or null.
HWND ReflectionTarget(const Message& message)
{
    if (message.id == WM_DRAWITEM) return reinterpret_cast<const DRAWITEMSTRUCT*>(message.lParam)->hwndItem;
    if (message.id >= WM_CTLCOLORMSGBOX && message.id <= WM_CTLCOLORSTATIC)
        return reinterpret_cast<HWND>(message.lParam);
    return nullptr;
}

RECT CentringArea(HWND window)
{
    RECT area{};
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    return area;
}

// Centres `window` over its owner, or over the work area when it has none; kept inside the work area.
void Centre(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    RECT area = CentringArea(window);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = (area.left + area.right - width) / 2, y = (area.top + area.bottom - height) / 2;
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Dialog::~Dialog()
{
    if (!hwnd_) return;
    if (nesting_ == 0) {
        DestroyWindow(hwnd_);
    } else {
        // Still inside one of its messages: the window lives on, but no message may reach this object.
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    }
}

INT_PTR Dialog::DoModal(HWND owner)
{
    endResult_ = -1;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    if (source_.Memory())
        return DialogBoxIndirectParamA(ResourceModule(), source_.Memory(), owner, &Dialog::Procedure, self);
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(source_.ResourceId()), owner, &Dialog::Procedure, self);
}

bool Dialog::Create(HWND owner)
{
    endResult_ = -1;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND window = source_.Memory()
                      ? CreateDialogIndirectParamA(ResourceModule(), source_.Memory(), owner, &Dialog::Procedure, self)
                      : CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(source_.ResourceId()), owner,
                                           &Dialog::Procedure, self);
    return window != nullptr;
}

void Dialog::End(INT_PTR result)
{
    endResult_ = result;
    EndDialog(hwnd_, result);
}

bool Dialog::OnInitDialog()
{
    BindControls();
    return true;
}

LRESULT Dialog::DefaultFor(const Message& message)
{
    // The dialog manager's own processing follows when the procedure returns FALSE; a handler that wants a
    // default result first (e.g. the standard brush of WM_CTLCOLOR*) gets the window's default processing.
    return DefWindowProcA(hwnd_, message.id, message.wParam, message.lParam);
}

const MessageTable& Dialog::Messages() const
{
    static const MessageTable none{nullptr, 0, nullptr};
    return none;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT...) need nothing from us
    if (message == WM_INITDIALOG) self->hwnd_ = window;
    ++self->nesting_;
    INT_PTR result = FALSE;
    try {
        result = self->HandleMessage(window, {message, wParam, lParam});
    } catch (...) {
        TraceStoppedException("a dialog procedure", message);
        result = FALSE;  // nothing may unwind into the system's code; the dialog manager handles the message
    }
    --self->nesting_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->initialised_ = false;
    }
    return result;
}

INT_PTR Dialog::HandleMessage(HWND window, const Message& message)
{
    if (message.id == WM_INITDIALOG) return InitDialog();
    if (IsNotification(message.id) && !initialised_) return FALSE;
    LRESULT result = 0;
    bool handled =
        ReflectToControl(message, result) || DispatchMessageToTable(message, result) || BuiltInCommand(message);
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(message.id)) return result;
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR Dialog::InitDialog()
{
    RECT before = ScreenRect();
    bool systemFocus = OnInitDialog();
    initialised_ = true;
    RECT after = ScreenRect();
    if (centreAfterInit_ && before.left == after.left && before.top == after.top) Centre(hwnd_);
    return systemFocus ? TRUE : FALSE;
}

bool Dialog::ReflectToControl(const Message& message, LRESULT& result)
{
    ControlSubclass* control = ControlSubclass::FromWindow(ReflectionTarget(message));
    return control && control->DispatchMessageToTable({Reflected(message.id), message.wParam, message.lParam}, result);
}

bool Dialog::BuiltInCommand(const Message& message)
{
    if (message.id != WM_COMMAND || HIWORD(message.wParam) > 1) return false;
    switch (LOWORD(message.wParam)) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}
