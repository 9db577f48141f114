// Static text and picture controls.
#pragma once

#include "framework/window.h"

class Static : public Window {
public:
    using Window::Window;
    HBITMAP SetBitmap(HBITMAP bitmap) const
    {
        return reinterpret_cast<HBITMAP>(Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};
