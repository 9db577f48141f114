#include "app/dialog_font_win.h"

#include "base/main_window_items.h"
#include "framework/window.h"

int MakeDialogFont(Font& font, int height, int weight, bool underline, bool italic)
{
    HGDIOBJ current = TheMainDialog ? Window(TheMainDialog).GetFont() : nullptr;
    if (!current) current = GetStockObject(SYSTEM_FONT);
    LOGFONTA description{};
    GetObjectA(current, sizeof description, &description);
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfUnderline = underline ? TRUE : FALSE;
    description.lfItalic = italic ? TRUE : FALSE;
    font.Reset(CreateFontIndirectA(&description));
    return 1;
}
