// vexbench_driver PROGRAM: times one full scan of the real program through its window, the way a user runs
// it. Starts PROGRAM, waits for its main window, presses SCAN (a posted command: keyboard and mouse input
// through X may not reach unmanaged Wine windows) and polls the status line until it reads "Scanning
// completed". Then reads the statistics from the results list and the program's peak working set, ends the
// program and prints one line: seconds=... peak_kb=... scanned=... infected=... removed=...
// Every wait is a bounded poll; any failure prints the reason and exits with 1.
#include <windows.h>
#include <psapi.h>  // the counters' layout only: the function is looked up at run time

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kProductCaption[] = "Vexilor Ver 1.0";
constexpr char kCompleted[] = "Scanning completed";
constexpr int kScanButton = 1052;
constexpr int kResultsList = 1055;
constexpr int kStatusLine = 1065;
constexpr DWORD kWindowTimeoutMs = 60000;
constexpr DWORD kScanTimeoutMs = 4 * 60 * 60 * 1000;  // the large corpus under Wine takes many minutes
constexpr DWORD kReplyTimeoutMs = 30000;
constexpr DWORD kPollMs = 10;

int Fail(const char* reason)
{
    std::printf("error=%s\n", reason);
    return 1;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

struct WindowQuery {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter)
{
    WindowQuery& query = *reinterpret_cast<WindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    if (owner == query.processId && IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) &&
        std::strcmp(title, kProductCaption) == 0) {
        query.found = window;
        return FALSE;
    }
    return TRUE;
}

std::string Text(HWND window)
{
    char text[300] = "";
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kReplyTimeoutMs, &copied))
        return std::string();
    return text;
}

// The list box's lines through the wide messages: the ANSI ones answer UTF-16 across processes under Wine 8.
std::vector<std::string> ListLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) continue;
        std::vector<wchar_t> wide(length + 1);
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        std::vector<char> narrow(2 * length + 2);
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                            nullptr);
        lines.push_back(narrow.data());
    }
    return lines;
}

// The number behind "label\t\t:  " in the statistics block, or -1.
long Statistic(const std::vector<std::string>& lines, const char* label)
{
    for (const std::string& line : lines)
        if (line.rfind(label, 0) == 0) {
            const size_t colon = line.find(':');
            if (colon != std::string::npos) return std::strtol(line.c_str() + colon + 1, nullptr, 10);
        }
    return -1;
}

// GetProcessMemoryInfo lives in kernel32 as K32GetProcessMemoryInfo on newer systems and in psapi.dll before.
SIZE_T PeakWorkingSet(HANDLE process)
{
    using MemoryInfoFunction = decltype(&::GetProcessMemoryInfo);  // the header's type, calling convention too
    MemoryInfoFunction query = reinterpret_cast<MemoryInfoFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (!query) {
        HMODULE psapi = LoadLibraryA("psapi.dll");
        if (psapi)
            query = reinterpret_cast<MemoryInfoFunction>(
                reinterpret_cast<void*>(GetProcAddress(psapi, "GetProcessMemoryInfo")));
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return query && query(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

class ChildProcess {
public:
    explicit ChildProcess(const char* program)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = std::string("\"") + program + "\"";
        if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            info_ = PROCESS_INFORMATION{};
    }
    ~ChildProcess()
    {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, kReplyTimeoutMs);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    HANDLE Handle() const { return info_.hProcess; }
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return Fail("usage: vexbench_driver PROGRAM");
    ChildProcess program(argv[1]);
    if (!program.Started()) return Fail("cannot start the program");

    WindowQuery query = {program.Id(), nullptr};
    if (!WaitFor([&] { return EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&query)), query.found; },
                 kWindowTimeoutMs))
        return Fail("no main window");
    HWND mainWindow = query.found;
    HWND scan = GetDlgItem(mainWindow, kScanButton);
    HWND status = GetDlgItem(mainWindow, kStatusLine);
    if (!scan || !status || !WaitFor([&] { return IsWindowVisible(scan) && IsWindowEnabled(scan); }, kWindowTimeoutMs))
        return Fail("no SCAN button");

    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kScanButton, BN_CLICKED), reinterpret_cast<LPARAM>(scan));
    if (!WaitFor([&] { return Text(status) == kCompleted; }, kScanTimeoutMs)) return Fail("the scan did not complete");
    QueryPerformanceCounter(&stop);

    const std::vector<std::string> lines = ListLines(GetDlgItem(mainWindow, kResultsList));
    std::printf("seconds=%.6f peak_kb=%lu scanned=%ld infected=%ld removed=%ld\n",
                static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart,
                static_cast<unsigned long>(PeakWorkingSet(program.Handle()) / 1024),
                Statistic(lines, "Total files scanned"), Statistic(lines, "Total files infected"),
                Statistic(lines, "Total files removed"));
    for (const std::string& line : lines)
        if (line.find(" removed") != std::string::npos && line.rfind("Total", 0) != 0)
            std::printf("line=%s\n", line.c_str());
    return 0;
}
