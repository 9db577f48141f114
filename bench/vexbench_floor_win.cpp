// vexbench_floor [--one-pass | --pump-only | --status-line | --throttled-status-line] [ROOT]: the Windows floor of
// a scan. Walks ROOT (default "C:\") with FindFirstFileA/FindNextFileA and does nothing else: by default the
// program's own walk (each folder searched twice: its files, then its subfolders), with --one-pass a single
// search per folder. Prints the walk's time, measured inside the process so that Wine's start-up is not
// counted, and the number of files.
// The other modes add only the per-entry window work a scan must do, to show where a scan's time goes:
// --pump-only takes one pending message before and after each entry; --status-line also sets each entry's
// path as the text of a visible static control; --throttled-status-line sets the control's text at most every
// 50 ms (the latest path then), which is what a status line needs to look live.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr DWORD kRepaintPeriodMs = 50;

enum class Mode { TWO_PASS, ONE_PASS, PUMP_ONLY, STATUS_LINE, THROTTLED_STATUS_LINE };

// A visible window with a status line, like the scanner's.
class StatusWindow {
public:
    explicit StatusWindow(Mode mode) : mode_(mode)
    {
        frame_ = CreateWindowExA(0, "STATIC", "vexbench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 480, 120, nullptr,
                                 nullptr, nullptr, nullptr);
        label_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 40, 440, 20, frame_, nullptr,
                                 nullptr, nullptr);
        UpdateWindow(frame_);
    }
    ~StatusWindow()
    {
        if (frame_) DestroyWindow(frame_);
    }
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    void Show(const std::string& path)
    {
        Pump();
        if (mode_ == Mode::STATUS_LINE) {
            SetWindowTextA(label_, path.c_str());
        } else if (mode_ == Mode::THROTTLED_STATUS_LINE && GetTickCount() - lastPaint_ >= kRepaintPeriodMs) {
            SetWindowTextA(label_, path.c_str());
            lastPaint_ = GetTickCount();
        }
        Pump();
    }

private:
    static void Pump()
    {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    Mode mode_;
    HWND frame_;
    HWND label_;
    DWORD lastPaint_ = 0;
};

struct Counts {
    long files = 0;
    long folders = 0;
};

class Search {
public:
    Search(const std::string& pattern, WIN32_FIND_DATAA& data) : handle_(FindFirstFileA(pattern.c_str(), &data)) {}
    ~Search()
    {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(handle_, &data) != 0; }

private:
    HANDLE handle_;
};

bool IsFolder(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && std::strcmp(data.cFileName, ".") != 0 &&
           std::strcmp(data.cFileName, "..") != 0;
}

// `folder` ends with a backslash. `status` is null unless a status-line mode runs.
void Walk(const std::string& folder, bool onePass, StatusWindow* status, Counts& counts)
{
    ++counts.folders;
    WIN32_FIND_DATAA data;
    {
        Search search(folder + "*.*", data);
        if (search.Found()) {
            do {
                if (status) status->Show(folder + data.cFileName);
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++counts.files;
                if (onePass && IsFolder(data)) Walk(folder + data.cFileName + "\\", onePass, status, counts);
            } while (search.Next(data));
        }
    }
    if (onePass) return;
    Search search(folder + "*", data);
    if (!search.Found()) return;
    do {
        if (IsFolder(data)) Walk(folder + data.cFileName + "\\", onePass, status, counts);
    } while (search.Next(data));
}

}  // namespace

int main(int argc, char** argv)
{
    Mode mode = Mode::TWO_PASS;
    std::string root = "C:\\";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--one-pass") == 0)
            mode = Mode::ONE_PASS;
        else if (std::strcmp(argv[i], "--pump-only") == 0)
            mode = Mode::PUMP_ONLY;
        else if (std::strcmp(argv[i], "--status-line") == 0)
            mode = Mode::STATUS_LINE;
        else if (std::strcmp(argv[i], "--throttled-status-line") == 0)
            mode = Mode::THROTTLED_STATUS_LINE;
        else
            root = argv[i];
    }
    std::unique_ptr<StatusWindow> status;
    if (mode != Mode::TWO_PASS && mode != Mode::ONE_PASS) status.reset(new StatusWindow(mode));
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    Counts counts;
    QueryPerformanceCounter(&start);
    Walk(root, mode == Mode::ONE_PASS, status.get(), counts);
    QueryPerformanceCounter(&stop);
    std::printf("seconds=%.6f files=%ld folders=%ld\n",
                static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart, counts.files, counts.folders);
    return 0;
}
