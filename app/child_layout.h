// The arithmetic of laying the main window's controls out on a fixed design size: the template's client area,
// whatever its pixel size for the dialog font and screen, maps onto the design width and height.
#pragma once

struct ScaleFactors {
    double horizontal;  // client width / design width
    double vertical;    // client height / design height
};

struct ChildRect {
    int left, top, right, bottom;
};

// False when either size is not positive: there is nothing sensible to scale by.
bool ComputeScaleFactors(int clientWidth, int clientHeight, int designWidth, int designHeight, ScaleFactors& factors);

// Each edge divided by its factor and truncated toward zero; kept inside the int range.
ChildRect ScaleChildRect(const ChildRect& rect, const ScaleFactors& factors);
