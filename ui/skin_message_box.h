// Every question the program asks goes through here. Returns the standard codes: 1 OK, 2 Cancel, 6 Yes, 7 No,
// -1 when the box cannot be shown. `caption` may be null: the product caption is used.
#pragma once

int SkinMessageBox(const char* text, const char* caption, unsigned int style);
