// Message tables: each window class lists, in one static const table, which messages and control commands go
// to which member functions. Entries are typed: the helper that makes an entry (OnCommand, OnTimer, ...) fixes
// the handler's signature and unpacks the message parameters for it.
//
//     const MessageTable& MyDialog::Messages() const
//     {
//         static const MessageEntry entries[] = {
//             OnCommand<&MyDialog::OnScan>(1052),
//             OnTimer<&MyDialog::OnScanTimer>(),
//         };
//         static const MessageTable table = MakeMessageTable(entries);
//         return table;
//     }
//
// The first entry that matches and handles a message wins; then the base table (if any) is consulted; a
// message nobody handles gets the window's default processing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <tuple>

struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

// A parent hands WM_DRAWITEM and WM_CTLCOLOR* to the subclassing object of the child they concern under these
// numbers, so that a control class draws and colours itself. They are dispatched directly, never sent.
constexpr UINT kReflectedBase = 0xBC00;
constexpr UINT Reflected(UINT message)
{
    return kReflectedBase + message;
}

class MessageReceiver;
// Runs a handler; false when it declined the message (it then goes on to the next entry and the default).
using MessageInvoker = bool (*)(MessageReceiver& receiver, const Message& message, LRESULT& result);

struct MessageEntry {
    UINT first;  // the message numbers the entry takes, first to last
    UINT last;
    int control;  // command entries: the control id; 0 for every other entry
    MessageInvoker invoke;
};

struct MessageTable {
    const MessageEntry* entries;
    size_t count;
    const MessageTable* base;  // consulted when no entry of this table handled the message
};

template <size_t N>
constexpr MessageTable MakeMessageTable(const MessageEntry (&entries)[N], const MessageTable* base = nullptr)
{
    return {entries, N, base};
}

// Anything with a message table: dialogs and subclassed controls.
class MessageReceiver {
public:
    virtual ~MessageReceiver() = default;

    // Runs the first matching handler of the table chain. True when one handled the message; `result` is then
    // its result (a dialog stores it in DWLP_MSGRESULT or returns it, see Dialog).
    bool DispatchMessageToTable(const Message& message, LRESULT& result);

protected:
    virtual const MessageTable& Messages() const = 0;
    // The window's own processing of `message`, as if no table existed.
    virtual LRESULT DefaultFor(const Message& message) = 0;
    // For handlers that want the default processing before or after their own work.
    LRESULT Default() { return current_ ? DefaultFor(*current_) : 0; }

private:
    const Message* current_ = nullptr;  // the message being dispatched; restored after nested dispatches
};

namespace message_map_detail {

template <class>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
    using Type = C;
};

template <auto Handler>
auto& Target(MessageReceiver& receiver)
{
    return static_cast<typename MemberClass<decltype(Handler)>::Type&>(receiver);
}

inline POINT PointOf(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

template <auto Handler>
bool InvokeCtlColor(MessageReceiver& r, const Message& m, LRESULT& result)
{
    HBRUSH brush =
        (Target<Handler>(r).*Handler)(reinterpret_cast<HDC>(m.wParam), reinterpret_cast<HWND>(m.lParam), m.id);
    result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

// Calls a handler that returns nothing with the arguments `Arguments::From` takes from the message; the
// message's result is `Result`.
template <auto Handler, class Arguments, LRESULT Result = 0>
bool InvokeVoid(MessageReceiver& r, const Message& m, LRESULT& result)
{
    std::apply([&r](auto&&... arguments) { (Target<Handler>(r).*Handler)(arguments...); }, Arguments::From(m));
    result = Result;
    return true;
}

struct NoArguments {
    static std::tuple<> From(const Message&) { return {}; }
};
struct TimerArguments {
    static std::tuple<UINT_PTR> From(const Message& m) { return {static_cast<UINT_PTR>(m.wParam)}; }
};
struct DrawItemArguments {
    static std::tuple<const DRAWITEMSTRUCT&> From(const Message& m)
    {
        return {*reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)};
    }
};
struct MouseArguments {
    static std::tuple<UINT, POINT> From(const Message& m) { return {static_cast<UINT>(m.wParam), PointOf(m.lParam)}; }
};
struct FocusArguments {
    static std::tuple<HWND> From(const Message& m) { return {reinterpret_cast<HWND>(m.wParam)}; }
};

}  // namespace message_map_detail

// LRESULT Handler(WPARAM, LPARAM): any message; the handler's result is the message's result.
template <auto Handler>
constexpr MessageEntry OnMessage(UINT message)
{
    return {message, message, 0, [](MessageReceiver& r, const Message& m, LRESULT& result) {
                result = (message_map_detail::Target<Handler>(r).*Handler)(m.wParam, m.lParam);
                return true;
            }};
}

// void Handler(): WM_COMMAND from control `id` clicked, or the same command from a menu or accelerator
// (notification code 0 or 1; Escape and the window menu's Close arrive as IDCANCEL, code 0).
template <auto Handler>
constexpr MessageEntry OnCommand(int id)
{
    return {WM_COMMAND, WM_COMMAND, id, message_map_detail::InvokeVoid<Handler, message_map_detail::NoArguments>};
}

// void Handler(UINT_PTR timerId)
template <auto Handler>
constexpr MessageEntry OnTimer()
{
    return {WM_TIMER, WM_TIMER, 0, message_map_detail::InvokeVoid<Handler, message_map_detail::TimerArguments>};
}

// void Handler(): the handler paints with a PaintDC of its own.
template <auto Handler>
constexpr MessageEntry OnPaint()
{
    return {WM_PAINT, WM_PAINT, 0, message_map_detail::InvokeVoid<Handler, message_map_detail::NoArguments>};
}

// HBRUSH Handler(HDC dc, HWND control, UINT message): every WM_CTLCOLOR* kind (message tells which). A null
// brush declines, leaving the colours to the default processing.
template <auto Handler>
constexpr MessageEntry OnCtlColor()
{
    return {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, message_map_detail::InvokeCtlColor<Handler>};
}

// The same, for a control class colouring itself; message is the reflected number (Reflected(WM_CTLCOLOR...)).
template <auto Handler>
constexpr MessageEntry OnReflectedCtlColor()
{
    return {Reflected(WM_CTLCOLORMSGBOX), Reflected(WM_CTLCOLORSTATIC), 0, message_map_detail::InvokeCtlColor<Handler>};
}

// void Handler(const DRAWITEMSTRUCT&): an owner-drawn control drawing itself.
template <auto Handler>
constexpr MessageEntry OnReflectedDrawItem()
{
    return {Reflected(WM_DRAWITEM), Reflected(WM_DRAWITEM), 0,
            message_map_detail::InvokeVoid<Handler, message_map_detail::DrawItemArguments, TRUE>};
}

// void Handler(UINT keys, POINT clientPoint): WM_MOUSEMOVE, WM_LBUTTONDOWN and the other client mouse messages.
template <auto Handler>
constexpr MessageEntry OnMouse(UINT message)
{
    return {message, message, 0, message_map_detail::InvokeVoid<Handler, message_map_detail::MouseArguments>};
}

// void Handler(HWND other): WM_SETFOCUS (other = the window that lost the focus) or WM_KILLFOCUS (the one
// that gets it).
template <auto Handler>
constexpr MessageEntry OnFocus(UINT message)
{
    return {message, message, 0, message_map_detail::InvokeVoid<Handler, message_map_detail::FocusArguments>};
}

// bool Handler(UINT hitTest): WM_SETCURSOR; true when the handler set the pointer, false for the default one.
template <auto Handler>
constexpr MessageEntry OnSetCursor()
{
    return {WM_SETCURSOR, WM_SETCURSOR, 0, [](MessageReceiver& r, const Message& m, LRESULT& result) {
                if (!(message_map_detail::Target<Handler>(r).*Handler)(LOWORD(m.lParam))) return false;
                result = TRUE;
                return true;
            }};
}
