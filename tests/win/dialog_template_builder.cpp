#include "dialog_template_builder.h"

namespace {

constexpr size_t kItemCountWord = 4;  // DLGTEMPLATE: style (2 words), extended style (2), item count

}  // namespace

DialogTemplateBuilder::DialogTemplateBuilder(DWORD style, DialogUnitsRect rect, const char* title, const char* fontFace,
                                             WORD fontPoints)
{
    PutDword(style | DS_SETFONT);
    PutDword(0);
    words_.push_back(0);
    words_.insert(words_.end(), {static_cast<WORD>(rect.x), static_cast<WORD>(rect.y), static_cast<WORD>(rect.width),
                                 static_cast<WORD>(rect.height)});
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    PutText(title);
    words_.push_back(fontPoints);
    PutText(fontFace);
}

DialogTemplateBuilder& DialogTemplateBuilder::Add(WORD classAtom, int id, DWORD style, DWORD exStyle, const char* text,
                                                  DialogUnitsRect rect)
{
    AlignToDword();
    PutDword(style | WS_CHILD);
    PutDword(exStyle);
    words_.insert(words_.end(), {static_cast<WORD>(rect.x), static_cast<WORD>(rect.y), static_cast<WORD>(rect.width),
                                 static_cast<WORD>(rect.height), static_cast<WORD>(id)});
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    PutText(text);
    words_.push_back(0);  // no creation data
    ++words_[kItemCountWord];
    return *this;
}

void DialogTemplateBuilder::PutDword(DWORD value)
{
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplateBuilder::PutText(const char* text)
{
    for (const char* c = text ? text : ""; *c; ++c) words_.push_back(static_cast<unsigned char>(*c));
    words_.push_back(0);
}

void DialogTemplateBuilder::AlignToDword()
{
    if (words_.size() % 2) words_.push_back(0);
}
