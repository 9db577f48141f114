#include "system/process_kill.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "base/platform_handles.h"
#include "base/product.h"
#include "base/registry_value.h"
#include "base/text_buffer.h"
#include "system/process_access.h"
#include "system/process_match.h"
#include "system/process_perf_data.h"

namespace {
constexpr DWORD kAfterTerminateMs = 500;
constexpr DWORD kInitialDataSize = 51200;
constexpr DWORD kDataSizeStep = 25600;
constexpr DWORD kMaxDataSize = 16u << 20;  // a block that keeps growing past this is not worth waiting for
constexpr int kEnglishLanguage = 9;

using Bytes = std::unique_ptr<uint8_t[]>;

Bytes Allocate(DWORD size)
{
    Bytes bytes(new (std::nothrow) uint8_t[size]);
    if (bytes) std::memset(bytes.get(), 0, size);
    return bytes;
}

bool ReadProcessIndexes(PerfProcessIndexes* indexes)
{
    char keyPath[kTextBufferSize];
    FormatText(keyPath, sizeof keyPath, "%s\\%03x", "software\\microsoft\\windows nt\\currentversion\\perflib",
               kEnglishLanguage);
    ScopedKey perflib;
    DWORD size = 0;
    if (!perflib.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ) ||
        RegQueryValueExA(perflib.Get(), "Counters", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // The list's length is known only now; it is then read by the program's one rule for values.
    Bytes list = Allocate(size + 1);
    char* text = reinterpret_cast<char*>(list.get());
    DWORD length = 0;
    if (!list || !ReadValueText(perflib.Get(), "Counters", text, size + 1, nullptr, &length)) return false;
    return FindProcessIndexes(text, length, indexes);
}

// The block grows between calls as processes start, so the size is raised until the query fits.
Bytes QueryPerformanceData(const char* objectIndex, DWORD* size)
{
    for (DWORD capacity = kInitialDataSize; capacity <= kMaxDataSize; capacity += kDataSizeStep) {
        Bytes data = Allocate(capacity);
        if (!data) return nullptr;
        *size = capacity;
        LONG result = RegQueryValueExA(HKEY_PERFORMANCE_DATA, objectIndex, nullptr, nullptr, data.get(), size);
        if (result == ERROR_SUCCESS) return *size > capacity ? nullptr : std::move(data);
        if (result != ERROR_MORE_DATA) return nullptr;
    }
    return nullptr;
}

bool ToAnsi(const uint16_t* text, size_t count, char* out, size_t outSize)
{
    if (outSize == 0) return false;
    out[0] = '\0';
    if (count == 0) return true;
    int written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text), static_cast<int>(count), out,
                                      static_cast<int>(outSize - 1), nullptr, nullptr);
    if (written <= 0) return false;
    out[written] = '\0';
    return true;
}

size_t ReadProcessTable(PerfProcessEntry (&rows)[kPerfTableRows])
{
    PerfProcessIndexes indexes;
    if (!ReadProcessIndexes(&indexes)) return 0;
    DWORD size = 0;
    Bytes data = QueryPerformanceData(indexes.processObject, &size);
    RegCloseKey(HKEY_PERFORMANCE_DATA);
    if (!data) return 0;
    return ReadPerfProcessTable(data.get(), size, static_cast<uint32_t>(indexes.processIdCounter), ToAnsi, rows,
                                kPerfTableRows);
}
}  // namespace

int KillByPerfData(const char* path)
{
    char target[kPerfTargetSize];
    if (!PerfDataTarget(path, target)) return 0;
    PerfProcessEntry rows[kPerfTableRows] = {};
    size_t filled = ReadProcessTable(rows);

    int result = 0;
    for (size_t i = 0; i < filled; ++i) {
        if (!PerfInstanceMatches(rows[i].name, target)) continue;
        if (TerminateIfImage(rows[i].processId, path)) result = 1;
        Sleep(kAfterTerminateMs);
    }
    return result;
}
