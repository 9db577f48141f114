// Dialog templates built in memory (DLGTEMPLATE followed by DLGITEMTEMPLATEs), for dialogs that do not come
// from the resource script, such as test dialogs.
#pragma once

#include <windows.h>

#include <vector>

// Predefined control classes, by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;

struct DialogUnitsRect {
    short x, y, width, height;
};

class DialogTemplateBuilder {
public:
    // DS_SETFONT is added; texts are plain ASCII.
    DialogTemplateBuilder(DWORD style, DialogUnitsRect rect, const char* title, const char* fontFace = "MS Sans Serif",
                          WORD fontPoints = 8);
    // WS_CHILD is added; give WS_VISIBLE for a control that starts visible.
    DialogTemplateBuilder& Add(WORD classAtom, int id, DWORD style, DWORD exStyle, const char* text,
                               DialogUnitsRect rect);
    // The finished template; valid while the builder lives and nothing is added.
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void PutDword(DWORD value);
    void PutText(const char* text);
    void AlignToDword();

    std::vector<WORD> words_;
};
