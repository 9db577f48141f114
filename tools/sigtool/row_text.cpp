#include "tools/sigtool/row_text.h"

#include <cstdio>
#include <cstring>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "01 B2 ... 6F": 20 bytes, two hexadecimal digits each, one blank between them, as the compiled table reads
// them.
bool ParsePattern(const std::string& hex, uint8_t (&pattern)[kPatternLength])
{
    if (hex.size() != 3 * kPatternLength - 1) return false;
    for (int i = 0; i < kPatternLength; ++i) {
        const int high = HexValue(hex[3 * i]), low = HexValue(hex[3 * i + 1]);
        if (high < 0 || low < 0 || (i + 1 < kPatternLength && hex[3 * i + 2] != ' ')) return false;
        pattern[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

std::string PatternText(const uint8_t (&pattern)[kPatternLength])
{
    std::string text;
    char byte[4];
    for (int i = 0; i < kPatternLength; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", pattern[i]);
        text += byte;
    }
    return text;
}

// Reads one row line token by token; blanks and tabs may stand between the tokens.
class RowCursor {
public:
    explicit RowCursor(const char* line) : at_(line) {}

    bool Take(const char* token)
    {
        SkipBlanks();
        const size_t length = std::strlen(token);
        if (std::strncmp(at_, token, length) != 0) return false;
        at_ += length;
        return true;
    }
    bool String(std::string& text)
    {
        SkipBlanks();
        if (*at_ != '"') return false;
        const char* close = std::strchr(at_ + 1, '"');
        if (!close) return false;
        text.assign(at_ + 1, close);
        at_ = close + 1;
        return true;
    }
    bool Number(int32_t& value)
    {
        SkipBlanks();
        const char* start = at_;
        while (*at_ != '\0' && std::strchr(",) \t", *at_) == nullptr) ++at_;
        return ParseInt32(std::string(start, at_), value);
    }
    // Nothing but blanks or a comment is left.
    bool AtEnd()
    {
        SkipBlanks();
        return *at_ == '\0' || std::strncmp(at_, "//", 2) == 0;
    }

private:
    void SkipBlanks()
    {
        while (*at_ == ' ' || *at_ == '\t' || *at_ == '\r') ++at_;
    }
    const char* at_;
};

// One SIGNATURE_ROW line into a record; the fault otherwise.
const char* ParseRow(const char* line, SignatureRecord& record)
{
    RowCursor cursor(line);
    std::string name, first, second;
    int32_t values[4];  // firstOffset, secondOffset, fileSize, sizeTest
    record = SignatureRecord{};
    if (!cursor.Take("SIGNATURE_ROW") || !cursor.Take("(")) return "not a SIGNATURE_ROW line, blank line or comment";
    if (!cursor.String(name)) return "the name is not a string in double quotes";
    if (const char* fault = NameFault(name.c_str(), name.size())) return fault;
    if (!cursor.Take(",") || !cursor.Number(values[0])) return "the first offset is not a 32-bit number";
    if (!cursor.Take(",") || !cursor.String(first) || !ParsePattern(first, record.firstPattern))
        return "the first pattern is not 20 hexadecimal bytes separated by single blanks";
    if (!cursor.Take(",") || !cursor.Number(values[1])) return "the second offset is not a 32-bit number";
    if (!cursor.Take(",") || !cursor.String(second) || !ParsePattern(second, record.secondPattern))
        return "the second pattern is not 20 hexadecimal bytes separated by single blanks";
    if (!cursor.Take(",") || !cursor.Number(values[2])) return "the file size is not a 32-bit number";
    if (!cursor.Take(",") || !cursor.Number(values[3])) return "the size test is not a 32-bit number";
    if (!cursor.Take(")") || !cursor.AtEnd()) return "the row does not end after its seven fields";
    std::memcpy(record.name, name.data(), name.size());
    record.firstOffset = values[0];
    record.secondOffset = values[1];
    record.fileSize = values[2];
    record.sizeTest = values[3];
    return nullptr;
}

}  // namespace

const char* NameFault(const char* name, size_t length)
{
    if (length == 0) return "the name is empty";
    if (length >= sizeof(SignatureRecord::name)) return "the name is longer than the record's 49 characters";
    for (size_t i = 0; i < length; ++i)
        if (name[i] < ' ' || name[i] > '~' || name[i] == '"' || name[i] == '\\')
            return "the name holds a character other than printable ASCII, or a '\"' or '\\'";
    return nullptr;
}

bool ParseInt32(const std::string& text, int32_t& value)
{
    size_t at = text[0] == '-' ? 1 : 0;
    const bool hex = text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0;
    if (hex) at += 2;
    if (at == text.size() || text.size() - at > 10) return false;  // 10 digits reach past 32 bits already
    int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = HexValue(text[at]);
        if (digit < 0 || digit >= (hex ? 16 : 10)) return false;
        magnitude = magnitude * (hex ? 16 : 10) + digit;
    }
    const int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

std::string FormatRow(const SignatureRecord& record)
{
    const std::string name(record.name, strnlen(record.name, sizeof record.name));
    return "SIGNATURE_ROW(\"" + name + "\", " + std::to_string(record.firstOffset) + ", \"" +
           PatternText(record.firstPattern) + "\", " + std::to_string(record.secondOffset) + ", \"" +
           PatternText(record.secondPattern) + "\", " + std::to_string(record.fileSize) + ", " +
           std::to_string(record.sizeTest) + ")";
}

bool ParseRows(const std::string& text, std::vector<SignatureRecord>& rows, std::string& error)
{
    size_t start = 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        RowCursor blank(line.c_str());
        if (blank.AtEnd()) continue;
        SignatureRecord record;
        if (const char* fault = ParseRow(line.c_str(), record)) {
            error = "line " + std::to_string(lineNumber) + ": " + fault;
            return false;
        }
        rows.push_back(record);
    }
    return true;
}
