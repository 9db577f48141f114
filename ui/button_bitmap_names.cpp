#include "ui/button_bitmap_names.h"

#include "base/text_buffer.h"

namespace {

bool MakeName(char (&name)[kBitmapNameSize], const char* caption, const char* suffix)
{
    if (!CopyText(name, caption)) return false;
    for (char* c = name; *c; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    return AppendText(name, suffix);
}

}  // namespace

bool MakeButtonBitmapNames(const char* caption, ButtonBitmapNames& names)
{
    if (!caption || !*caption) return false;
    return MakeName(names.focus, caption, "_FOCUS") && MakeName(names.normal, caption, "_NOTFOCUS") &&
           MakeName(names.disabled, caption, "_DISABLE");
}
