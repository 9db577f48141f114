#include "tools/sigtool/row_maker.h"

#include <cstring>
#include <vector>

#include "engine/detection/signature_match.h"
#include "tools/sigtool/row_table.h"
#include "tools/sigtool/row_text.h"

namespace {

bool ReadString(SampleFile& sample, const char* which, int32_t relative, uint8_t (&pattern)[kPatternLength],
                std::string& error)
{
    const uint32_t rva = StringRva(sample.headers, relative);
    const uint32_t at = StringFileOffset(sample.headers, static_cast<uint32_t>(sample.length), relative);
    if (uint64_t{at} + kPatternLength <= static_cast<uint64_t>(sample.length) &&
        sample.file.ReadAt(at, pattern, kPatternLength))
        return true;
    error = sample.path + ": the " + which + " string, " + std::to_string(relative) + " from the entry point (" +
            RvaText(rva) + "), is read at " + FileOffsetText(at) + ", and its 20 bytes do not lie inside the " +
            std::to_string(sample.length) + "-byte file";
    return false;
}

}  // namespace

bool MakeRow(SampleFile& sample, const RowRequest& request, SignatureRecord& row, std::string& error)
{
    if (const char* fault = NameFault(request.name.c_str(), request.name.size())) {
        error = "\"" + request.name + "\": " + fault;
        return false;
    }
    if (!sample.ReadHeaders(error)) return false;
    row = SignatureRecord{};
    std::memcpy(row.name, request.name.data(), request.name.size());
    row.firstOffset = request.firstOffset;
    row.secondOffset = request.secondOffset;
    row.fileSize = sample.length;
    row.sizeTest = SIZE_TEST_EXACT;
    if (!ReadString(sample, "first", request.firstOffset, row.firstPattern, error) ||
        !ReadString(sample, "second", request.secondOffset, row.secondPattern, error))
        return false;

    // The matcher itself has the last word.
    const RowTable alone(std::vector<SignatureRecord>{row});
    if (alone.Index().Match(sample.file, sample.length, sample.headers) != &alone.Row(0)) {
        error = sample.path + ": the row would not match its own sample";
        return false;
    }
    return true;
}
