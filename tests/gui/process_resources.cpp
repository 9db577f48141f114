#include "tests/gui/process_resources.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/win/windows_version.h"

namespace gui {
namespace {

// Functions that Windows 98 and NT 4 lack, or that only ntdll exports, are resolved at run time.
template <typename F>
F* Resolve(const char* module, const char* name)
{
    HMODULE library = GetModuleHandleA(module);
    return library ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// SystemHandleInformation: a count followed by one entry per open handle of every process.
struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
constexpr int kSystemHandleInformation = 16;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

long HandlesFromSystemList(DWORD processId)
{
    using Query = LONG WINAPI(int, void*, ULONG, ULONG*);
    Query* query = Resolve<Query>("ntdll.dll", "NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<uint8_t> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch && buffer.size() < (64u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) return -1;
        break;
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    long owned = 0;
    for (ULONG i = 0; i < count; ++i) owned += entries[i].ownerProcessId == processId ? 1 : 0;
    return owned;
}

long KernelHandles(HANDLE process, DWORD processId)
{
    using Count = BOOL WINAPI(HANDLE, PDWORD);
    if (Count* count = Resolve<Count>("kernel32.dll", "GetProcessHandleCount")) {
        DWORD handles = 0;
        if (count(process, &handles) && handles > 0) return static_cast<long>(handles);
    }
    return HandlesFromSystemList(processId);
}

// Wine keeps each process's GDI objects in a table that the process's PEB points to (GdiSharedHandleTable,
// at 0x94 in a 32-bit PEB, 0xF8 in a 64-bit one); an entry is 24 bytes in both and its type byte, at 14, is 0
// while the entry is free.
constexpr SIZE_T kPebGdiTableOffset = sizeof(void*) == 4 ? 0x94 : 0xF8;
constexpr size_t kWineGdiEntries = 0x10000;
constexpr size_t kWineGdiEntrySize = 24;
constexpr size_t kWineGdiTypeOffset = 14;

struct BasicInformation {
    LONG exitStatus;
    PVOID pebBaseAddress;
    ULONG_PTR reserved[4];
};

long GdiObjectsFromWineTable(HANDLE process)
{
    using Query = LONG WINAPI(HANDLE, int, void*, ULONG, ULONG*);
    Query* query = Resolve<Query>("ntdll.dll", "NtQueryInformationProcess");
    BasicInformation basic{};
    ULONG size = 0;
    if (!query || query(process, 0, &basic, sizeof basic, &size) != 0) return -1;
    PVOID table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<BYTE*>(basic.pebBaseAddress) + kPebGdiTableOffset, &table, sizeof table,
                           &read) ||
        !table)
        return -1;
    std::vector<uint8_t> entries(kWineGdiEntries * kWineGdiEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read) || read != entries.size()) return -1;
    long used = 0;
    for (size_t i = 0; i < kWineGdiEntries; ++i) used += entries[i * kWineGdiEntrySize + kWineGdiTypeOffset] ? 1 : 0;
    return used;
}

long GuiResources(HANDLE process, DWORD kind)
{
    using Count = DWORD WINAPI(HANDLE, DWORD);
    Count* count = Resolve<Count>("user32.dll", "GetGuiResources");
    return count ? static_cast<long>(count(process, kind)) : -1;
}

struct WindowTally {
    DWORD processId;
    long windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM tally)
{
    ++reinterpret_cast<WindowTally*>(tally)->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM tally)
{
    WindowTally* counts = reinterpret_cast<WindowTally*>(tally);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != counts->processId) return TRUE;
    ++counts->windows;
    EnumChildWindows(window, CountChild, tally);
    return TRUE;
}

ResourceCounts ReadOnce(DWORD processId)
{
    ResourceCounts counts;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return counts;
    counts.handles = KernelHandles(process, processId);
    counts.gdiObjects = GuiResources(process, GR_GDIOBJECTS);
    if (counts.gdiObjects <= 0 && RunningUnderWine()) counts.gdiObjects = GdiObjectsFromWineTable(process);
    counts.userObjects = GuiResources(process, GR_USEROBJECTS);
    CloseHandle(process);
    WindowTally tally{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    counts.windows = tally.windows;
    return counts;
}

long Lower(long a, long b)
{
    return a < 0 ? b : b < 0 ? a : std::min(a, b);
}  // -1 is no reading

}  // namespace

bool operator==(const ResourceCounts& a, const ResourceCounts& b)
{
    return a.handles == b.handles && a.gdiObjects == b.gdiObjects && a.userObjects == b.userObjects &&
           a.windows == b.windows;
}

std::string Describe(const ResourceCounts& counts)
{
    return "handles " + std::to_string(counts.handles) + ", GDI objects " + std::to_string(counts.gdiObjects) +
           ", USER objects " + std::to_string(counts.userObjects) + ", windows " + std::to_string(counts.windows);
}

// A single reading can catch a paint in progress, whose memory context and selected picture exist only for
// that moment; the lowest of several readings over a fifth of a second leaves such passing objects out,
// while a leak raises every reading.
ResourceCounts ReadResourceCounts(DWORD processId)
{
    constexpr int kReadings = 10;
    constexpr DWORD kBetweenMs = 20;
    ResourceCounts lowest = ReadOnce(processId);
    for (int i = 1; i < kReadings; ++i) {
        Sleep(kBetweenMs);
        const ResourceCounts reading = ReadOnce(processId);
        lowest.handles = Lower(lowest.handles, reading.handles);
        lowest.gdiObjects = Lower(lowest.gdiObjects, reading.gdiObjects);
        lowest.userObjects = Lower(lowest.userObjects, reading.userObjects);
        lowest.windows = Lower(lowest.windows, reading.windows);
    }
    return lowest;
}

ResourceCounts ReadSettledResourceCounts(DWORD processId)
{
    constexpr int kMostTakes = 10;
    ResourceCounts previous = ReadResourceCounts(processId);
    for (int take = 1; take < kMostTakes; ++take) {
        const ResourceCounts current = ReadResourceCounts(processId);
        if (current == previous) break;
        previous = current;
    }
    return previous;
}

}  // namespace gui
