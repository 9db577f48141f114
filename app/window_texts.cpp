#include "app/window_texts.h"

#include <cstring>
#include <initializer_list>

#include "base/text_buffer.h"
#include "resources/product_texts.h"

const char kCopyrightText[] = VEX_COPYRIGHT_TEXT;
const char kInstalledNoteText[] = "This program is a part of Halvane antivirus software.";
const char kCloseButtonQuestionCaption[] = "DialogBoxTitle";
const char kStatusFrameScanningCaption[] = "Scanning";
const char kProductPageAddress[] = "https://vexilor.example/antivirus";
const char kRemovalToolsPageAddress[] = "https://vexilor.example/removal-tools";
const char kInstalledProductKey[] = "Software\\Tarnwick\\Halvane 2000";
const char kInstalledProductValue[] = "Installed Folder";

namespace {

// Joins the pieces into `buffer`; stops at the first piece that does not fit whole.
bool Join(char* buffer, size_t capacity, std::initializer_list<const char*> pieces)
{
    if (capacity == 0) return false;
    buffer[0] = '\0';
    for (const char* piece : pieces)
        if (!AppendText(buffer, capacity, piece)) return false;
    return true;
}

}  // namespace

bool BuildDescriptionText(char* buffer, size_t capacity, const char* productCaption, const char* familyName)
{
    return Join(buffer, capacity,
                {productCaption, " - Tool to detect and remove all the variants of ", familyName, " Trojan "});
}

bool BuildFamilyLabelText(char* buffer, size_t capacity, const char* familyName)
{
    std::memset(buffer, 0, capacity);
    return FormatText(buffer, capacity, "for %s", familyName) && AppendText(buffer, capacity, " Trojan ");
}

bool BuildSearchingForText(char* buffer, size_t capacity, const char* familyName)
{
    return Join(buffer, capacity, {"Searching for ", familyName, " Trojan and its variants"});
}
