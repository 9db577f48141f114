// Push buttons and group boxes.
#pragma once

#include "framework/window.h"

class Button : public Window {
public:
    using Window::Window;
    void Click() const { Send(BM_CLICK); }
    UINT State() const { return static_cast<UINT>(Send(BM_GETSTATE)); }
};
