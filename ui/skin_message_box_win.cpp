#include "ui/skin_message_box.h"

#include <windows.h>

#include "app/product.h"
#include "engine/scan_state.h"

// A plain platform box until the skinned one replaces it.
int SkinMessageBox(const char* text, const char* caption, unsigned int style)
{
    int result = MessageBoxA(Scan.mainWindow, text, caption ? caption : ProductCaption, style);
    return result == 0 ? -1 : result;
}
