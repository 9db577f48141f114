#include "ui/ex_button_win.h"

#include "framework/resources.h"
#include "ui/button_bitmap_names.h"
#include "ui/hand_cursor_win.h"

bool NCExButton::LoadFromCaption(int controlId, const Window& parent)
{
    if (!Handle() && !Attach(parent.Item(controlId))) return false;
    char caption[260];
    if (GetText(caption, sizeof caption) <= 0) return false;
    ButtonBitmapNames names;
    if (MakeButtonBitmapNames(caption, names)) LoadStateBitmaps(names.focus, names.normal, names.disabled);
    return true;
}

bool NCExButton::LoadStateBitmaps(const char* focusName, const char* normalName, const char* disabledName)
{
    focusBitmap.Reset();
    normalBitmap.Reset();
    disabledBitmap.Reset();
    focusBitmap = LoadMappedBitmap(focusName);
    if (!focusBitmap) return false;
    normalBitmap = LoadMappedBitmap(normalName);
    if (!normalBitmap) return false;
    disabledBitmap = LoadMappedBitmap(disabledName);
    return SizeToBitmap();
}

bool NCExButton::SizeToBitmap()
{
    BITMAP size;
    if (!normalBitmap || !GetObjectA(normalBitmap.Get(), sizeof size, &size)) return false;
    if (!Resize(size.bmWidth, size.bmHeight)) return false;
    hitRect = RECT{0, 0, size.bmWidth, size.bmHeight};
    return true;
}

const MessageTable& NCExButton::Messages() const
{
    static const MessageEntry entries[] = {
        OnMouse<&NCExButton::OnMouseMove>(WM_MOUSEMOVE),
        OnFocus<&NCExButton::OnKillFocus>(WM_KILLFOCUS),
        OnFocus<&NCExButton::OnSetFocus>(WM_SETFOCUS),
        OnReflectedDrawItem<&NCExButton::OnDrawItem>(),
    };
    static const MessageTable table = MakeMessageTable(entries);
    return table;
}

void NCExButton::SetHighlighted(bool on)
{
    highlighted = on ? 1 : 0;
    Invalidate(false);
}

// Hovering takes the keyboard focus and the mouse, so that leaving the button can be seen; a disabled button
// gets no mouse moves and is never highlighted by the mouse.
void NCExButton::OnMouseMove(UINT, POINT point)
{
    if (GetCapture() != Handle()) {
        SetFocus(Handle());
        SetCapture(Handle());
        SetHighlighted(true);
    } else if (!PtInRect(&hitRect, point)) {
        ReleaseCapture();
        SetHighlighted(false);
    }
    Default();  // pressing, dragging and clicking stay the platform button's
}

void NCExButton::OnKillFocus(HWND)
{
    Default();
    SetHighlighted(false);
}

void NCExButton::OnSetFocus(HWND)
{
    Default();
    SetHighlighted(true);
}

void NCExButton::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const Bitmap& image = highlighted ? focusBitmap : (item.itemState & ODS_DISABLED) ? disabledBitmap : normalBitmap;
    if (!image) return;
    MemoryDC memory(item.hDC);
    if (!memory) return;
    SelectedObject selected(memory.Get(), image.Get());
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.Get(), 0, 0, SRCCOPY);
}

CExButton::~CExButton()
{
    if (handCursor) DestroyCursor(handCursor);
}

void CExButton::LoadHandCursor()
{
    if (!handCursor) handCursor = LoadHandCursorCopy();
}

const MessageTable& CExButton::Messages() const
{
    static const MessageEntry entries[] = {
        OnSetCursor<&CExButton::ShowHandCursor>(),
    };
    static const MessageTable table = MakeMessageTable(entries, &NCExButton::Messages());
    return table;
}

bool CExButton::ShowHandCursor(UINT)
{
    if (!handCursor) return false;
    SetCursor(handCursor);
    return true;
}
