// The family label: a static text control that paints its own text, white in LabelFont on the blue of the
// window's top band, centred at the top of its rectangle and never word-wrapped.
#pragma once

#include "framework/static.h"
#include "framework/subclassed_control.h"

class CExLabel : public SubclassedControl<Static> {
public:
    CExLabel() = default;

protected:
    const MessageTable& Messages() const override;

private:
    void OnPaint();

    char labelText[260] = {};  // the window text, read afresh at every paint
    RECT labelRect{};          // the client rectangle, read afresh at every paint
    COLORREF textColour = RGB(255, 255, 255);
};
