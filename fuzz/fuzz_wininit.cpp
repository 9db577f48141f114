// The wininit.ini rewrite must keep every input byte, in order, and add only the entry (with the section line
// and a line end where needed).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "repair/wininit_rename.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::string entryLine = "NUL=C:\\EVIL~1.EXE\r\n";
    const std::string result = AddWininitEntry(content, "NUL", "C:\\EVIL~1.EXE");
    size_t common = 0;
    while (common < content.size() && common < result.size() && content[common] == result[common]) ++common;
    if (result.size() <= content.size()) std::abort();
    std::string added = result.substr(common, result.size() - content.size());
    if (result.compare(common + added.size(), std::string::npos, content, common, std::string::npos) != 0) std::abort();
    // What was added ends with the entry line; before it at most a line end and a section line.
    if (added.size() < entryLine.size() || added.compare(added.size() - entryLine.size(), entryLine.size(), entryLine))
        std::abort();
    std::string before = added.substr(0, added.size() - entryLine.size());
    if (before != "" && before != "\r\n" && before != "[rename]\r\n" && before != "\r\n[rename]\r\n") std::abort();
    return 0;
}
