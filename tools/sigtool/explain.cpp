#include "tools/sigtool/explain.h"

#include <cstdio>

namespace {

// How far the row's accepted lengths lie from `length`.
int64_t SizeDistance(const SignatureRecord& record, int32_t length)
{
    const LengthRange range = AcceptedLengths(record);
    if (range.lowest > range.highest) return INT64_MAX;
    return length < range.lowest ? range.lowest - length : length - range.highest;
}

// One string's line; true when the file holds the row's 20 bytes there.
bool ExplainString(SampleFile& sample, const char* which, int32_t relative, const uint8_t (&pattern)[kPatternLength],
                   std::ostream& out)
{
    const uint32_t rva = StringRva(sample.headers, relative);
    const uint32_t at = StringFileOffset(sample.headers, static_cast<uint32_t>(sample.length), relative);
    out << "    " << which << " string, " << relative << " from the entry point (" << RvaText(rva) << "), at "
        << FileOffsetText(at) << ": ";
    uint8_t bytes[kPatternLength];
    if (!sample.file.ReadAt(at, bytes, kPatternLength)) {
        out << "fails, its 20 bytes do not lie inside the file\n";
        return false;
    }
    int differing = 0, firstDifference = -1;
    for (int i = 0; i < kPatternLength; ++i)
        if (bytes[i] != pattern[i]) {
            ++differing;
            if (firstDifference < 0) firstDifference = i;
        }
    if (differing == 0) {
        out << "matches\n";
        return true;
    }
    char bytePair[24];
    std::snprintf(bytePair, sizeof bytePair, "%02X, the row %02X", bytes[firstDifference], pattern[firstDifference]);
    out << "fails, " << differing << " of 20 bytes differ; the first is byte " << firstDifference + 1
        << ": the file has " << bytePair << "\n";
    return false;
}

void ExplainRow(SampleFile& sample, const RowTable& table, size_t index, std::ostream& out)
{
    const SignatureRecord& record = table.Row(index);
    out << table.Label(index) << ":\n";
    const bool first = ExplainString(sample, "first", record.firstOffset, record.firstPattern, out);
    const bool second = ExplainString(sample, "second", record.secondOffset, record.secondPattern, out);
    // The matcher stops at the first string that fails.
    out << "    "
        << (!first    ? "the first string fails"
            : !second ? "the second string fails"
                      : "the row matches")
        << "\n";
}

void ExplainNearestLength(const SampleFile& sample, const RowTable& table, std::ostream& out)
{
    out << "no row's size test accepts " << sample.length << " bytes";
    size_t nearest = 0;
    for (size_t i = 1; i < table.RowCount(); ++i)
        if (SizeDistance(table.Row(i), sample.length) < SizeDistance(table.Row(nearest), sample.length)) nearest = i;
    if (table.RowCount() > 0 && SizeDistance(table.Row(nearest), sample.length) != INT64_MAX)
        out << "; the nearest is " << table.Label(nearest) << ", for " << int32_t{table.Row(nearest).fileSize}
            << " bytes";
    out << "\n";
}

}  // namespace

void ExplainSample(SampleFile& sample, const RowTable& table, std::ostream& out)
{
    out << sample.path << ": " << sample.length << " bytes, entry point at "
        << RvaText(sample.headers.addressOfEntryPoint) << ", " << sample.headers.numberOfSections << " sections\n";
    const SignatureRecord* hit = table.Index().Match(sample.file, sample.length, sample.headers);
    out << (hit ? "matched by " + table.Label(table.IndexOf(hit)) : std::string("no row matches")) << "\n";
    bool anyOfLength = false;
    for (size_t i = 0; i < table.RowCount(); ++i) {
        if (!SizeTestPasses(table.Row(i), sample.length)) continue;
        anyOfLength = true;
        ExplainRow(sample, table, i, out);
    }
    if (!anyOfLength) ExplainNearestLength(sample, table, out);
}
