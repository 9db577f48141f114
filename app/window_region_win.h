// The main window's shape from its background picture.
#pragma once

#include <windows.h>

// Builds a region from `bitmap` (any format): with `keyIsOutside`, every pixel not of colour `key` (0x00BBGGRR)
// is inside; otherwise only the key pixels are. Returns null when there is no bitmap or the device contexts, the
// 32-bit working picture or the first region-data block cannot be made (the window then stays rectangular); a
// picture without an inside pixel gives an empty region. The caller owns the region.
HRGN CreateBitmapRegion(HBITMAP bitmap, COLORREF key, bool keyIsOutside);
