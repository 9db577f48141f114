#include "ui/ex_label_win.h"

#include "base/gdi.h"
#include "base/main_window_items.h"

namespace {

const COLORREF kBandBlue = RGB(2, 77, 246);

}  // namespace

const MessageTable& CExLabel::Messages() const
{
    static const MessageEntry entries[] = {
        ::OnPaint<&CExLabel::OnPaint>(),
    };
    static const MessageTable table = MakeMessageTable(entries);
    return table;
}

void CExLabel::OnPaint()
{
    PaintDC paint(Handle());
    HDC dc = paint.Get();
    labelRect = ClientRect();
    GetText(labelText, sizeof labelText);
    SetTextColor(dc, textColour);
    SelectedObject font(dc, LabelFont.Get());  // until the font exists, the context's own font serves
    SetBkColor(dc, kBandBlue);                 // opaque: every line of text sits on the band's blue
    // Without DT_SINGLELINE the vertical centring is ignored: the text starts at the top and breaks only at
    // explicit line breaks; a text wider than the label is clipped, not wrapped.
    DrawTextA(dc, labelText, -1, &labelRect, DT_CENTER | DT_VCENTER);
}
