// Static text and picture controls.
#pragma once

#include "framework/window.h"

class Static : public Window {
public:
    using Window::Window;
};
