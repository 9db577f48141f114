#include "ui/hand_cursor_win.h"

#include "engine/text_buffer.h"
#include "framework/resources.h"

namespace {

constexpr int kWinHelpHandCursor = 106;

class LoadedModule {
public:
    explicit LoadedModule(const char* path) : module_(LoadLibraryA(path)) {}
    ~LoadedModule()
    {
        if (module_) FreeLibrary(module_);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// The copy stays valid after the module that held the cursor is unloaded.
HCURSOR CopyOf(HCURSOR cursor)
{
    return cursor ? static_cast<HCURSOR>(CopyIcon(cursor)) : nullptr;
}

HCURSOR WinHelpHandCursor()
{
    char path[260];
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendText(path, "\\winhlp32.exe")) return nullptr;
    LoadedModule winHelp(path);
    if (!winHelp.get()) return nullptr;
    return CopyOf(LoadCursorA(winHelp.get(), MAKEINTRESOURCEA(kWinHelpHandCursor)));
}

}  // namespace

HCURSOR LoadHandCursorCopy()
{
    if (HCURSOR hand = WinHelpHandCursor()) return hand;
    // Windows 98, 2000 and later have a hand of their own; Windows 95 and NT 4 do not.
    if (HCURSOR hand = CopyOf(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)))) return hand;  // IDC_HAND
    return CopyOf(LoadCursorA(ResourceModule(), MAKEINTRESOURCEA(IDC_VEX_HAND)));
}
