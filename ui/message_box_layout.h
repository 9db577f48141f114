// The skinned message box's decisions that need no window: which buttons and icon a style gives, and where the
// label, the icon and the button row go for a message of a given length.
#pragma once

#include <cstddef>

#include "resources/resource_ids.h"

enum class BoxButtons { OkOnly, OkCancel, YesNo };

struct BoxLook {
    BoxButtons buttons;
    int iconBitmapId;  // IDB_INFORMATION, IDB_QUESTION, IDB_WARNING or IDB_ERROR
};

// Reads the standard message-box style bits. 0x01 wins over 0x04, so Yes/No/Cancel and Retry/Cancel show OK and
// Cancel; 0x30 is the warning icon; no icon bit also gives the warning icon.
BoxLook ChooseBoxLook(unsigned int style);

// The result of the box's cancel command (Escape, close button, Cancel): a Yes/No box has no Cancel, so No.
int CancelResultFor(BoxButtons buttons);

struct BoxRect {
    int left, top, right, bottom;
};

struct BoxPlacement {
    int x, y, width, height;
};

// The box grows in steps of 10 pixels for every full 30 characters plus one: a = step, b = width growth,
// c = height growth.
struct BoxGrowth {
    int a, b, c;
};

BoxGrowth GrowthForTextLength(size_t length);

// Positions in the dialog for the grown box. `label` is the message label's rectangle measured from the
// dialog's outer top-left corner before it moves; `dialogBottom` is the grown dialog's outer height.
struct BoxLayout {
    BoxGrowth growth;
    BoxPlacement label;
    bool moveIcon;  // long messages (a > 30) lift the icon into the row above the label
    int iconY;
    int buttonShiftX;  // every button moves right by this much ...
    int buttonRowY;    // ... onto one row 65 pixels above the bottom
};

BoxLayout LayOutMessageBox(size_t textLength, bool largeFonts, BoxRect label, int dialogBottom);
