// Skinned push buttons: owner-drawn buttons showing one of three bitmaps found by their caption, a focus image
// while highlighted (mouse over it, or keyboard focus), a normal image, and a disabled image while disabled. The
// button takes the size of its bitmaps. Clicks and commands stay the platform button's own.
#pragma once

#include <cstdint>

#include "base/gdi.h"
#include "framework/button.h"
#include "framework/subclassed_control.h"

// The message box's buttons: no hand pointer.
class NCExButton : public SubclassedControl<Button> {
public:
    // Subclasses child `controlId` of `parent` unless already bound, then loads the bitmaps named by the caption
    // (case does not matter). False only when there is no such child or the caption is empty; missing bitmaps
    // leave the button at its size, drawing nothing in the states without an image.
    bool LoadFromCaption(int controlId, const Window& parent);
    // The focus and normal images must exist; the disabled one is optional. Sizes the button on success.
    bool LoadStateBitmaps(const char* focusName, const char* normalName, const char* disabledName);
    // Window size and hit rectangle from the normal image, keeping position, window order and activation.
    bool SizeToBitmap();

    bool IsHighlighted() const { return highlighted != 0; }

protected:
    const MessageTable& Messages() const override;

private:
    void OnMouseMove(UINT keys, POINT point);
    void OnKillFocus(HWND gaining);
    void OnSetFocus(HWND losing);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void SetHighlighted(bool on);

    int32_t highlighted = 0;
    RECT hitRect{};  // (0, 0, bitmap width, bitmap height): leaving it ends the highlight
    Bitmap disabledBitmap;
    Bitmap normalBitmap;
    Bitmap focusBitmap;
};

// The main window's buttons: may also show a hand pointer.
class CExButton : public NCExButton {
public:
    CExButton() = default;
    ~CExButton() override;

    // Loads the hand pointer once (see LoadHandCursorCopy); without one the default pointer stays.
    void LoadHandCursor();
    HCURSOR HandCursor() const { return handCursor; }

protected:
    const MessageTable& Messages() const override;

private:
    bool ShowHandCursor(UINT hitTest);

    HCURSOR handCursor = nullptr;  // a copy of its own, destroyed with the button
};
