// The program's pictures: the shaped window background, the button faces, the message-box icons, the logo
// and the window icon. Sizes and colour depths are those the resource script and the window code rely on.
#pragma once

#include <string>

#include "tools/artwork/canvas.h"

constexpr Colour kKeyMagenta{255, 0, 255};  // outside the window's shape
constexpr Colour kBandBlue{2, 77, 246};     // behind the family label
constexpr Colour kPanel{207, 233, 254};     // panel strips, message boxes, disabled buttons
constexpr Colour kWhite{255, 255, 255};     // the body behind the static texts

constexpr int kBackgroundWidth = 527;
constexpr int kBackgroundHeight = 338;

Canvas Background();

enum class Face { Normal, Focus };

// The big green buttons (SCAN, DOWNLOAD), 180 x 33, placed at the given background position.
Canvas GreenButton(const Canvas& background, int x, int y, const std::string& caption, Face face);
// The small lavender buttons (OK, CANCEL, YES, NO), 92 x 24 on the panel colour.
Canvas LavenderButton(const std::string& caption, Face face);
// The close button, 21 x 21, placed at the given background position.
Canvas CloseButton(const Canvas& background, int x, int y, Face face);
// A uniform patch of panel colour: a disabled button shows as empty panel.
Canvas PanelPatch(int width, int height);
// Blue text links: each line centred; underlined in the focus face.
Canvas TextLink(int width, int height, Colour background, const std::string& line1, const std::string& line2,
                Face face);
Canvas MakerLogo();

enum class MessageIcon { Information, Question, Warning, Error };
Canvas MessageBoxIcon(MessageIcon icon);  // 42 x 40

Canvas WindowIcon(int size);  // square, transparent outside the shield
// 32 x 32 pointing hand, black outline on white, transparent around it; the fingertip is at kHandHotSpot.
Canvas HandCursor();
constexpr int kHandHotSpotX = 10, kHandHotSpotY = 1;
