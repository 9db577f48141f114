#include "bench/clam_signatures.h"

#include <cstdio>
#include <fstream>

namespace {

// "EP+2643:8844..." or "EP-11852:01b2...".
std::string Subsignature(int32_t offset, const uint8_t (&pattern)[kPatternLength])
{
    char text[16 + 2 * kPatternLength + 1];
    int at = std::snprintf(text, sizeof text, "EP%c%ld:", offset < 0 ? '-' : '+',
                           offset < 0 ? -static_cast<long>(offset) : static_cast<long>(offset));
    for (uint8_t byte : pattern) at += std::snprintf(text + at, sizeof text - at, "%02x", byte);
    return text;
}

}  // namespace

std::string ClamLogicalSignature(const SignatureRecord& record)
{
    // ';' and ':' separate the fields of a logical signature; our names use neither.
    return std::string(record.name) + ";Engine:51-255,Target:1,FileSize:" + std::to_string(record.fileSize) + "-" +
           std::to_string(record.fileSize) + ";0&1;" + Subsignature(record.firstOffset, record.firstPattern) + ";" +
           Subsignature(record.secondOffset, record.secondPattern);
}

bool WriteClamDatabase(const SignatureRecord* table, const std::string& path)
{
    std::ofstream database(path, std::ios::trunc);
    for (int i = 0; table[i].name[0] != '\0'; ++i) {
        if (table[i].sizeTest != SIZE_TEST_EXACT) continue;  // a size window has no exact ClamAV form here
        database << ClamLogicalSignature(table[i]) << "\n";
    }
    return static_cast<bool>(database);
}
