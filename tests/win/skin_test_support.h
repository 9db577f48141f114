// What the skin tests share: pictures of what a control draws, read back pixel by pixel.
#pragma once

#include <windows.h>

#include <vector>

struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool AllOf(COLORREF colour) const;
};

// What `control` paints into its client area (WM_PRINTCLIENT), on a background of `background`.
Picture RenderControl(HWND control, COLORREF background);
// A bitmap's pixels at 32 bits per pixel.
Picture PictureOf(HBITMAP bitmap);
// A bitmap resource of the program, loaded as the buttons load it.
Picture PictureOfResource(const char* name);
bool SamePicture(const Picture& a, const Picture& b);

// A window's size in pixels.
SIZE SizeOf(HWND window);

// What is on the screen in `window`'s client area now.
Picture CaptureClient(HWND window);
