#include "tools/sigtool/table_check.h"

#include <cstring>

#include "tools/sigtool/row_text.h"

namespace {

bool RangeEmpty(const LengthRange& range)
{
    return range.lowest > range.highest;
}

// Why the record cannot stand in the table, or nullptr.
const char* RecordFault(const SignatureRecord& record)
{
    const size_t nameLength = strnlen(record.name, sizeof record.name);
    if (nameLength == sizeof record.name) return "the name has no terminating NUL within its 50 bytes";
    if (const char* fault = NameFault(record.name, nameLength)) return fault;
    for (size_t i = nameLength; i < sizeof record.name; ++i)
        if (record.name[i] != '\0') return "the name field holds bytes behind its terminating NUL";
    if (record.firstTerminator != 0 || record.secondTerminator != 0) return "a pattern's terminating byte is not 0";
    if (record.sizeTest < SIZE_TEST_EXACT || record.sizeTest > SIZE_TEST_NONE)
        return "the size test is not 1, 2 or 3, so the row never matches";
    if (RangeEmpty(AcceptedLengths(record))) return "the file size is negative, so the row never matches";
    if (record.firstOffset == record.secondOffset &&
        std::memcmp(record.firstPattern, record.secondPattern, kPatternLength) != 0)
        return "both strings lie at the same offset with different bytes, so the row never matches";
    return nullptr;
}

bool SameString(int32_t offset, const uint8_t* pattern, int32_t otherOffset, const uint8_t* otherPattern)
{
    return offset == otherOffset && std::memcmp(pattern, otherPattern, kPatternLength) == 0;
}

// One of `record`'s two strings.
bool HasString(const SignatureRecord& record, int32_t offset, const uint8_t* pattern)
{
    return SameString(record.firstOffset, record.firstPattern, offset, pattern) ||
           SameString(record.secondOffset, record.secondPattern, offset, pattern);
}

}  // namespace

bool Shadows(const SignatureRecord& earlier, const SignatureRecord& later)
{
    const LengthRange wide = AcceptedLengths(earlier), narrow = AcceptedLengths(later);
    if (RangeEmpty(narrow) || wide.lowest > narrow.lowest || wide.highest < narrow.highest) return false;
    return HasString(later, earlier.firstOffset, earlier.firstPattern) &&
           HasString(later, earlier.secondOffset, earlier.secondPattern);
}

namespace {

// The first earlier row equal to the row in every byte, else the first that shadows it, as a fault.
bool FindEarlierCover(const RowTable& table, size_t row, TableFault& fault)
{
    const SignatureRecord& record = table.Row(row);
    for (size_t earlier = 0; earlier < row; ++earlier)
        if (std::memcmp(&table.Row(earlier), &record, sizeof record) == 0) {
            fault = {row, FAULT_DUPLICATE, earlier, "duplicate of " + table.Label(earlier)};
            return true;
        }
    for (size_t earlier = 0; earlier < row; ++earlier)
        if (Shadows(table.Row(earlier), record)) {
            fault = {row, FAULT_SHADOWED, earlier,
                     "shadowed by " + table.Label(earlier) + ", which matches every file it matches"};
            return true;
        }
    return false;
}

}  // namespace

std::vector<TableFault> CheckTable(const RowTable& table)
{
    std::vector<TableFault> faults;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        TableFault fault;
        if (const char* what = RecordFault(table.Row(row)))
            faults.push_back({row, FAULT_MALFORMED, 0, what});
        else if (FindEarlierCover(table, row, fault))
            faults.push_back(fault);
    }
    return faults;
}
