#include "framework/message_map.h"

namespace {

bool Matches(const MessageEntry& entry, const Message& message)
{
    if (message.id < entry.first || message.id > entry.last) return false;
    if (entry.control == 0) return true;
    // Commands: only clicks and menu or accelerator commands (codes 0 and 1) of that control.
    return LOWORD(message.wParam) == entry.control && HIWORD(message.wParam) <= 1;
}

}  // namespace

bool MessageReceiver::DispatchMessageToTable(const Message& message, LRESULT& result)
{
    // Handlers pump messages (the scan runs inside one), so dispatches nest; each restores the outer message.
    struct Restore {
        const Message*& current;
        const Message* outer;
        ~Restore() { current = outer; }
    } restore{current_, current_};
    current_ = &message;
    bool handled = false;
    for (const MessageTable* table = &Messages(); table && !handled; table = table->base) {
        for (size_t i = 0; i < table->count && !handled; ++i) {
            const MessageEntry& entry = table->entries[i];
            handled = Matches(entry, message) && entry.invoke(*this, message, result);
        }
    }
    return handled;
}
