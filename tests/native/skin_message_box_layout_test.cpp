#include <gtest/gtest.h>

#include "ui/message_box_layout.h"

TEST(SkinMessageBoxLook, StyleBitsGiveButtonsAndIcon)
{
    struct Case {
        unsigned int style;
        BoxButtons buttons;
        int icon;
    } const cases[] = {
        {0x24, BoxButtons::YesNo, IDB_QUESTION},   {0x41, BoxButtons::OkCancel, IDB_INFORMATION},
        {0x00, BoxButtons::OkOnly, IDB_WARNING},   {0x03, BoxButtons::OkCancel, IDB_WARNING},
        {0x05, BoxButtons::OkCancel, IDB_WARNING}, {0x02, BoxButtons::OkOnly, IDB_WARNING},
        {0x30, BoxButtons::OkOnly, IDB_WARNING},   {0x10, BoxButtons::OkOnly, IDB_ERROR},
        {0x74, BoxButtons::YesNo, IDB_WARNING},    {0x50, BoxButtons::OkOnly, IDB_INFORMATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
        BoxLook look = ChooseBoxLook(c.style);
        EXPECT_EQ(c.buttons, look.buttons);
        EXPECT_EQ(c.icon, look.iconBitmapId);
    }
}

TEST(SkinMessageBoxLook, CancelAnswersNoOnlyInAYesNoBox)
{
    EXPECT_EQ(7, CancelResultFor(BoxButtons::YesNo));
    EXPECT_EQ(2, CancelResultFor(BoxButtons::OkCancel));
    EXPECT_EQ(2, CancelResultFor(BoxButtons::OkOnly));
}

TEST(SkinMessageBoxLayout, GrowthAndPlacesForTextLengths)
{
    const BoxRect label{76, 34, 279, 65};
    const int dialogBottom = 140;
    struct Case {
        size_t length;
        int a, b, c;
        bool moveIcon;
    } const cases[] = {
        {0, 10, 12, 7, false},  {23, 10, 12, 7, false}, {89, 30, 37, 21, false},
        {90, 40, 50, 28, true}, {95, 40, 50, 28, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " characters");
        BoxLayout layout = LayOutMessageBox(c.length, false, label, dialogBottom);
        EXPECT_EQ(c.a, layout.growth.a);
        EXPECT_EQ(c.b, layout.growth.b);
        EXPECT_EQ(c.c, layout.growth.c);
        EXPECT_EQ(c.moveIcon, layout.moveIcon);
        EXPECT_EQ(4, layout.iconY);  // 30 pixels above the label's measured top
        EXPECT_EQ(76, layout.label.x);
        EXPECT_EQ(9, layout.label.y);
        EXPECT_EQ(203 + c.b, layout.label.width);
        EXPECT_EQ(31 + c.c, layout.label.height);
        EXPECT_EQ(c.b / 2, layout.buttonShiftX);
        EXPECT_EQ(75, layout.buttonRowY);
    }
}

TEST(SkinMessageBoxLayout, LargeFontsMakeTheLabel25PixelsTaller)
{
    const BoxRect label{76, 34, 279, 65};
    BoxLayout small = LayOutMessageBox(40, false, label, 140);
    BoxLayout large = LayOutMessageBox(40, true, label, 140);
    EXPECT_EQ(small.label.height + 25, large.label.height);
    EXPECT_EQ(small.label.width, large.label.width);
    EXPECT_EQ(small.label.y, large.label.y);
}

TEST(SkinMessageBoxLayout, HugeLengthStaysInRange)
{
    BoxGrowth growth = GrowthForTextLength(static_cast<size_t>(-1));
    EXPECT_GT(growth.a, 0);
    EXPECT_GT(growth.b, growth.a);
    EXPECT_GT(growth.c, 0);
}
