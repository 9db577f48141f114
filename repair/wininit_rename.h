// The [rename] section of wininit.ini as a text transformation. Windows 9x processes the section once at its
// next start; an entry NUL=<short path> deletes the file.
#pragma once

#include <string>

// The file's new content with "<entry>=<target>\r\n" as the last line of the [rename] section (just above the
// next section line), or in a new [rename] section at the end. A section line is one whose first eight bytes
// are "[rename]", ignoring case. Every other byte passes through unchanged, whatever the line lengths, line
// ends or binary bytes; a last line without a line end gets "\r\n" before anything is added after it.
std::string AddWininitEntry(const std::string& content, const std::string& entry, const std::string& target);
