// The walker's path rules over names as a file system may hand them out (any bytes, any length) and buffers
// of any size: a result is either refused or exactly the joined text, and nothing is written past a buffer
// (each buffer is allocated at its exact size, so AddressSanitizer sees the first byte beyond it).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/walk_paths.h"

namespace {

// The expected join: the pattern up to the character before its last '.', then the name and the suffix.
bool ExpectedJoin(const std::string& pattern, const std::string& name, const char* suffix, std::string* out)
{
    const size_t dot = pattern.rfind('.');
    if (dot == std::string::npos) return false;
    *out = pattern.substr(0, dot > 0 ? dot - 1 : 0) + name + suffix;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    const size_t capacity = 1 + (data[0] | data[1] << 8) % 600;
    const int16_t maximum = static_cast<int16_t>(static_cast<int8_t>(data[2]) * 3);
    const std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const size_t split = rest.find('\0');
    const std::string pattern = rest.substr(0, split);
    const std::string name = split == std::string::npos ? "" : rest.substr(split + 1).c_str();

    std::vector<char> out(capacity);
    std::string expected;
    const bool fits = ExpectedJoin(pattern, name, "\\*.*", &expected) && expected.size() < capacity;
    const bool joined = JoinAtLastDot(pattern.c_str(), name.c_str(), "\\*.*", out.data(), capacity);
    if (joined != fits || (joined && expected != out.data())) std::abort();

    if (DirectoryPattern(pattern.c_str(), out.data(), capacity) && std::strlen(out.data()) >= capacity) std::abort();
    if (ProgramFilesFolder(pattern.c_str(), out.data(), capacity) && std::strlen(out.data()) >= capacity) std::abort();

    ShortenPathForDisplay(pattern.c_str(), out.data(), capacity, maximum);
    const size_t shown = strnlen(out.data(), capacity);
    if (shown >= capacity) std::abort();
    // A longer path is cut to exactly `maximum` characters when there is a half to keep on each side.
    const bool cut =
        maximum / 2 - 1 > 0 && pattern.size() > static_cast<size_t>(maximum) && static_cast<size_t>(maximum) < capacity;
    if (cut && shown != static_cast<size_t>(maximum)) std::abort();
    return 0;
}
