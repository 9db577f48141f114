// The main window's own texts, and the ones it builds from the product caption and the family name.
#pragma once

#include <cstddef>

extern const char kCopyrightText[];
extern const char kInstalledNoteText[];
extern const char kCloseButtonQuestionCaption[];  // the X button asks under this caption, not the product's
extern const char kStatusFrameScanningCaption[];
extern const char kProductPageAddress[];
extern const char kRemovalToolsPageAddress[];
extern const char kInstalledProductKey[];  // under HKEY_LOCAL_MACHINE, read only
extern const char kInstalledProductValue[];

constexpr size_t kDescriptionTextSize = 600;  // room for a full caption and a full family name
constexpr size_t kFamilyLabelTextSize = 260;

// Each builder fills `buffer` and returns false when the text had to stop short of its end (the buffer then holds
// a valid, shorter text).

// "<caption> - Tool to detect and remove all the variants of <family> Trojan " (with the closing blank).
bool BuildDescriptionText(char* buffer, size_t capacity, const char* productCaption, const char* familyName);
// "for <family> Trojan " (with the closing blank).
bool BuildFamilyLabelText(char* buffer, size_t capacity, const char* familyName);
// "Searching for <family> Trojan and its variants".
bool BuildSearchingForText(char* buffer, size_t capacity, const char* familyName);
