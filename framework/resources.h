// Resources of the running program.
#pragma once

#include <windows.h>

#include "base/gdi.h"

// The module whose resources dialogs, bitmaps and icons come from: the executable.
inline HINSTANCE ResourceModule()
{
    return GetModuleHandleA(nullptr);
}

// A bitmap resource (by name, or MAKEINTRESOURCEA(id)) as a device-dependent bitmap at its own size, with the
// three standard greys mapped to the current 3-D colours; empty when the resource is missing.
inline Bitmap LoadMappedBitmap(const char* name)
{
    return Bitmap(static_cast<HBITMAP>(LoadImageA(ResourceModule(), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
}
