#include "tools/sigtool/sample_file.h"

#include <cstdio>

namespace {

const char* FaultText(PeHeaderFault fault)
{
    switch (fault) {
    case PE_FAULT_NO_OFFSET_FIELD:
        return "the file ends before the PE header offset at 0x3C";
    case PE_FAULT_NO_SIGNATURE:
        return "no \"PE\\0\\0\" where the offset at 0x3C points";
    case PE_FAULT_SHORT_HEADERS:
        return "the file or optional header is cut short";
    case PE_FAULT_TOO_MANY_SECTIONS:
        return "more than 20 sections, and the matcher reads at most 20";
    case PE_FAULT_SHORT_SECTION_TABLE:
        return "the section table is cut short";
    case PE_HEADERS_USABLE:
        break;
    }
    return "";
}

std::string Hex(const char* what, uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s 0x%X", what, value);
    return text;
}

}  // namespace

bool SampleFile::ReadHeaders(std::string& error)
{
    if (!file.IsOpen()) {
        error = path + ": cannot be opened as a regular file";
        return false;
    }
    if (file.Length() > INT32_MAX) {
        error = path + ": longer than the 2147483647 bytes the runtime reports";
        return false;
    }
    const PeHeaderFault fault = ReadPeHeadersWithFault(file, headers);
    if (fault != PE_HEADERS_USABLE) {
        error = path + ": not a PE file the matcher accepts: " + FaultText(fault);
        return false;
    }
    length = static_cast<int32_t>(file.Length());
    return true;
}

std::string RvaText(uint32_t rva)
{
    return Hex("rva", rva);
}

std::string FileOffsetText(uint32_t offset)
{
    return Hex("file offset", offset);
}
