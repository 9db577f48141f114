// A dialog built from a template and run modally (or, for tests, modelessly), whose messages go through its
// message table. One static dialog procedure finds the object from the creation parameter that arrives with
// WM_INITDIALOG; it stores it in DWLP_USER for every later message.
//
// Rules the class keeps for its subclasses:
// - WM_COMMAND and WM_NOTIFY are ignored until OnInitDialog has returned.
// - WM_DRAWITEM and WM_CTLCOLOR* are first offered to the subclassing object of the child they concern
//   (Reflected(...) entries of its table); only when it declines do they reach the dialog's table.
// - IDOK and IDCANCEL commands that the table does not handle call OnOK and OnCancel.
// - A handler's result goes to DWLP_MSGRESULT, except for the messages whose result the dialog procedure
//   returns itself (WM_CTLCOLOR*, WM_INITDIALOG, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON).
// - No exception leaves the dialog procedure.
// - After OnInitDialog the dialog is centred over its owner (or the screen's work area) when OnInitDialog left
//   its top-left corner where the template put it, unless the dialog asked to keep its position.
#pragma once

#include "framework/message_map.h"
#include "framework/window.h"

// Where a dialog's template comes from: a resource of this module, or a template built in memory.
class DialogTemplate {
public:
    static DialogTemplate FromResource(int id) { return DialogTemplate(id, nullptr); }
    static DialogTemplate FromMemory(const DLGTEMPLATE* memory) { return DialogTemplate(0, memory); }

    int ResourceId() const { return id_; }
    const DLGTEMPLATE* Memory() const { return memory_; }

private:
    DialogTemplate(int id, const DLGTEMPLATE* memory) : id_(id), memory_(memory) {}
    int id_;
    const DLGTEMPLATE* memory_;
};

class Dialog : public Window, public MessageReceiver {
public:
    explicit Dialog(DialogTemplate source) : source_(source) {}
    // A modeless dialog still open is destroyed, unless one of its own messages is still being handled.
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; the code given to End, or -1 when the dialog cannot be created.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog without a modal loop of its own; false when it cannot be created.
    bool Create(HWND owner = nullptr);
    // Ends a modal dialog with `result` once the handler that asks has returned to the modal loop; hides a
    // modeless one. The window is destroyed only then, never in the middle of one of its messages.
    void End(INT_PTR result);
    // The code given to End; -1 before.
    INT_PTR EndResult() const { return endResult_; }
    bool IsInitialised() const { return initialised_; }

protected:
    // Binds the controls (BindControls) and returns true, letting the system give the focus.
    virtual bool OnInitDialog();
    // Data exchange: one Bind per control member, in member order.
    virtual void BindControls() {}
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }

    // Binds a wrapper to child `id`; a SubclassedControl subclasses the child.
    template <class Control>
    bool Bind(Control& control, int id)
    {
        return control.Attach(Item(id));
    }
    void KeepPositionAfterInit() { centreAfterInit_ = false; }

    LRESULT DefaultFor(const Message& message) override;
    const MessageTable& Messages() const override;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(HWND window, const Message& message);
    INT_PTR InitDialog();
    bool ReflectToControl(const Message& message, LRESULT& result);
    bool BuiltInCommand(const Message& message);

    DialogTemplate source_;
    bool initialised_ = false;
    bool centreAfterInit_ = true;
    int nesting_ = 0;  // messages of this dialog being handled right now (handlers pump, so they nest)
    INT_PTR endResult_ = -1;
};
