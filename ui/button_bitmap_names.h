// The bitmap resource names of a skinned button: its caption followed by "_FOCUS", "_NOTFOCUS" and "_DISABLE".
#pragma once

constexpr int kBitmapNameSize = 280;  // a 260-byte caption and the longest suffix

struct ButtonBitmapNames {
    char focus[kBitmapNameSize];
    char normal[kBitmapNameSize];
    char disabled[kBitmapNameSize];
};

// The caption is upper-cased (ASCII) so that "Cancel" finds "CANCEL_FOCUS" however the resources were named.
// False for an empty caption or one too long for the names.
bool MakeButtonBitmapNames(const char* caption, ButtonBitmapNames& names);
