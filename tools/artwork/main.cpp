// Writes every bitmap and the icon of the program into a folder (normally resources/art), where the resource
// script picks them up:
//   artwork OUTPUT_FOLDER
#include <cstdio>
#include <string>

#include "tools/artwork/bitmap_file.h"
#include "tools/artwork/pictures.h"

namespace {

// Where a control of the main window lands on the background: template units scaled onto 600 x 337 pixels.
int PixelX(int dialogUnits)
{
    return dialogUnits * 600 / 349;
}
int PixelY(int dialogUnits)
{
    return dialogUnits * 337 / 209;
}

struct Writer {
    std::string folder;
    bool ok = true;

    void Indexed(const std::string& name, const Canvas& canvas, int bits, std::vector<Colour> exact = {})
    {
        Report(name + ".bmp", WriteBitmapIndexed(folder + "/" + name + ".bmp", canvas, bits, exact));
    }
    void Full(const std::string& name, const Canvas& canvas)
    {
        Report(name + ".bmp", WriteBitmap24(folder + "/" + name + ".bmp", canvas));
    }
    void Report(const std::string& file, bool written)
    {
        if (!written) std::fprintf(stderr, "artwork: cannot write %s/%s\n", folder.c_str(), file.c_str());
        ok = ok && written;
    }
};

void WriteGreenButton(Writer& out, const Canvas& background, const std::string& name, const std::string& caption, int x,
                      int y)
{
    out.Indexed(name + "_FOCUS", GreenButton(background, x, y, caption, Face::Focus), 8);
    out.Indexed(name + "_NOTFOCUS", GreenButton(background, x, y, caption, Face::Normal), 8);
    out.Indexed(name + "_DISABLE", PanelPatch(180, 33), 4);
}

void WriteLavenderButton(Writer& out, const std::string& name, const std::string& caption)
{
    out.Indexed(name + "_FOCUS", LavenderButton(caption, Face::Focus), 8);
    out.Indexed(name + "_NOTFOCUS", LavenderButton(caption, Face::Normal), 8);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork OUTPUT_FOLDER\n");
        return 2;
    }
    Writer out{argv[1]};
    Canvas background = Background();
    out.Indexed("156", background, 8, {kKeyMagenta, kBandBlue, kPanel, kWhite});

    WriteGreenButton(out, background, "SCAN", "Scan", PixelX(11), PixelY(40));
    WriteGreenButton(out, background, "DOWNLOAD", "Download Antivirus", PixelX(189), PixelY(40));
    out.Indexed("X_FOCUS", CloseButton(background, PixelX(290), PixelY(3), Face::Focus), 8);
    out.Indexed("X_NOTFOCUS", CloseButton(background, PixelX(290), PixelY(3), Face::Normal), 8);
    WriteLavenderButton(out, "OK", "OK");
    WriteLavenderButton(out, "CANCEL", "Cancel");
    WriteLavenderButton(out, "YES", "Yes");
    WriteLavenderButton(out, "NO", "No");

    for (Face face : {Face::Focus, Face::Normal}) {
        std::string suffix = face == Face::Focus ? "_FOCUS" : "_NOTFOCUS";
        out.Full("DLINK" + suffix, TextLink(350, 43, kWhite, "Download and install Halvane Antivirus",
                                            "for complete protection of your computer", face));
        out.Full("ULINK" + suffix, TextLink(350, 28, kPanel, "Download other free removal tools", "", face));
        out.Full("TARNWICKLOGO" + suffix, MakerLogo());
    }

    out.Full("152", MessageBoxIcon(MessageIcon::Information));
    out.Full("153", MessageBoxIcon(MessageIcon::Question));
    out.Full("154", MessageBoxIcon(MessageIcon::Warning));
    out.Full("155", MessageBoxIcon(MessageIcon::Error));

    Canvas large = WindowIcon(32), small = WindowIcon(16);
    out.Report("128.ico", WriteIcon(out.folder + "/128.ico", {&large, &small}));
    out.Report("hand.cur", WriteCursor(out.folder + "/hand.cur", HandCursor(), kHandHotSpotX, kHandHotSpotY));
    return out.ok ? 0 : 1;
}
