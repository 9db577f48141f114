// Writes canvases as Windows bitmap files (.bmp, bottom-up, uncompressed) and icon files (.ico).
#pragma once

#include <string>
#include <vector>

#include "tools/artwork/canvas.h"

// 24 bits per pixel; any transparency is flattened onto white.
bool WriteBitmap24(const std::string& path, const Canvas& canvas);

// 4 or 8 bits per pixel with a colour table of at most 16 or 256 entries. The `exact` colours keep entries of
// their own, and only pixels of exactly that colour use them (the window's magenta key must neither fray nor
// leak into the picture).
bool WriteBitmapIndexed(const std::string& path, const Canvas& canvas, int bitsPerPixel,
                        const std::vector<Colour>& exact = {});

// One icon file holding every canvas as an 8-bit image with a transparency mask (alpha below one half is
// transparent).
bool WriteIcon(const std::string& path, const std::vector<const Canvas*>& images);
// A one-image cursor with its hot spot.
bool WriteCursor(const std::string& path, const Canvas& image, int hotX, int hotY);
