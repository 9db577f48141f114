#include "ui/message_box_layout.h"

#include <climits>

BoxLook ChooseBoxLook(unsigned int style)
{
    BoxLook look{BoxButtons::OkOnly, IDB_WARNING};
    if (style & 0x01)
        look.buttons = BoxButtons::OkCancel;
    else if (style & 0x04)
        look.buttons = BoxButtons::YesNo;

    if ((style & 0x30) == 0x30)
        look.iconBitmapId = IDB_WARNING;
    else if (style & 0x40)
        look.iconBitmapId = IDB_INFORMATION;
    else if (style & 0x20)
        look.iconBitmapId = IDB_QUESTION;
    else if (style & 0x10)
        look.iconBitmapId = IDB_ERROR;
    return look;
}

int CancelResultFor(BoxButtons buttons)
{
    return buttons == BoxButtons::YesNo ? 7 : 2;
}

BoxGrowth GrowthForTextLength(size_t length)
{
    // Clamped so that the arithmetic below stays inside int for any length.
    int characters = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    BoxGrowth growth;
    growth.a = characters / 30 * 10 + 10;
    growth.b = growth.a + growth.a / 4;  // a * 1.25, truncated
    growth.c = growth.a - growth.b / 4;
    return growth;
}

BoxLayout LayOutMessageBox(size_t textLength, bool largeFonts, BoxRect label, int dialogBottom)
{
    BoxLayout layout;
    layout.growth = GrowthForTextLength(textLength);
    const BoxGrowth& g = layout.growth;

    // The label is measured with the title bar included; 25 pixels take it back to where the resource puts it.
    layout.label.x = label.left;
    layout.label.y = label.top - 25;
    layout.label.width = label.right - label.left + g.b;
    layout.label.height = label.bottom - label.top + g.c + (largeFonts ? 25 : 0);

    layout.moveIcon = g.a > 30;
    layout.iconY = label.top - 30;
    layout.buttonShiftX = g.b / 2;
    layout.buttonRowY = dialogBottom - 65;
    return layout;
}
