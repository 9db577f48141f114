// vexbench_floor [--one-pass | --folder-identity | --pump-only | --walker-pumps | --text-store | --status-line |
//                 --throttled-status-line] [ROOT]
// The Windows floor of a scan. Walks ROOT (default "C:\") with FindFirstFileA/FindNextFileA and does nothing
// else: by default the program's own walk (each folder searched twice: its files, then its subfolders), with
// --one-pass a single search per folder. Prints the walk's time, measured inside the process so that Wine's
// start-up is not counted, and the number of files.
// --folder-identity walks as the default does and reads each folder's identity as the program's walker does,
// before listing it, recording it in the scan's set of entered folders; it also prints the time those reads
// and records took in all, so that their cost per folder stands apart from the listing's.
// The other modes add per-entry window work, to show what each piece costs. --pump-only takes one pending
// message before and after each entry; --walker-pumps takes them as the program's walker does, which is all
// a scan must do: also one before each entry of a folder's second search. The modes that follow pump as
// --pump-only does and add: --text-store, the system storing each entry's path as a visible static control's
// text, without a repaint; --status-line, the path set as the control's text, which stores and repaints it,
// as the main window's status line once did for every entry; --throttled-status-line, the text set at most
// every 50 ms (the latest path then). The control sits in a group box on a parent that answers
// WM_CTLCOLORSTATIC as the main window does: transparent text background, white brush, after looking up the
// control's object in a window property.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/platform_handles.h"
#include "engine/entered_folders.h"
#include "engine/folder_identity_win.h"

namespace {

constexpr DWORD kRepaintPeriodMs = 50;

enum class Mode {
    TWO_PASS,
    ONE_PASS,
    FOLDER_IDENTITY,
    PUMP_ONLY,
    WALKER_PUMPS,
    TEXT_STORE,
    STATUS_LINE,
    THROTTLED_STATUS_LINE
};

constexpr char kFrameClass[] = "VexbenchFrame";
constexpr char kObjectProperty[] = "VexbenchControlObject";

// The main window's colour answer for its static controls, with the lookup its framework makes first (a
// control that paints itself would answer instead).
LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CTLCOLORSTATIC) return DefWindowProcA(window, message, wParam, lParam);
    GetPropA(reinterpret_cast<HWND>(lParam), kObjectProperty);
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// A visible window with a framed status line, like the scanner's.
class StatusWindow {
public:
    explicit StatusWindow(Mode mode) : mode_(mode)
    {
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = FrameProcedure;
        frameClass.hInstance = GetModuleHandleA(nullptr);
        frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        frameClass.lpszClassName = kFrameClass;
        RegisterClassA(&frameClass);
        frame_ = CreateWindowExA(0, kFrameClass, "vexbench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 480, 120, nullptr,
                                 nullptr, frameClass.hInstance, nullptr);
        CreateWindowExA(0, "BUTTON", "Scanning", WS_CHILD | WS_VISIBLE | BS_GROUPBOX | BS_FLAT, 5, 25, 460, 45, frame_,
                        nullptr, frameClass.hInstance, nullptr);
        label_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 40, 440, 20, frame_, nullptr,
                                 frameClass.hInstance, nullptr);
        UpdateWindow(frame_);
    }
    ~StatusWindow()
    {
        if (frame_) DestroyWindow(frame_);
        UnregisterClassA(kFrameClass, GetModuleHandleA(nullptr));
    }
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    void Show(const std::string& path)
    {
        Pump();
        if (mode_ == Mode::TEXT_STORE) {
            DefWindowProcA(label_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        } else if (mode_ == Mode::STATUS_LINE) {
            SetWindowTextA(label_, path.c_str());
        } else if (mode_ == Mode::THROTTLED_STATUS_LINE && GetTickCount() - lastPaint_ >= kRepaintPeriodMs) {
            SetWindowTextA(label_, path.c_str());
            lastPaint_ = GetTickCount();
        }
        Pump();
    }

    // An entry of a folder's second search.
    void SecondSearchEntry() const
    {
        if (mode_ == Mode::WALKER_PUMPS) Pump();
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

// The identity reads of --folder-identity, and the time they take.
class IdentityReads {
public:
    IdentityReads() { QueryPerformanceFrequency(&frequency_); }

    // False when the walk has entered the folder before.
    bool EntersFirstTime(const std::string& folder)
    {
        LARGE_INTEGER start, stop;
        QueryPerformanceCounter(&start);
        FolderIdentity identity;
        const bool first = !ReadFolderIdentity(folder.c_str(), &identity) || entered_.Enter(identity);
        QueryPerformanceCounter(&stop);
        ticks_ += stop.QuadPart - start.QuadPart;
        return first;
    }
    double Seconds() const { return static_cast<double>(ticks_) / frequency_.QuadPart; }

private:
    EnteredFolders entered_;
    LARGE_INTEGER frequency_;
    LONGLONG ticks_ = 0;
};

bool IsFolder(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && std::strcmp(data.cFileName, ".") != 0 &&
           std::strcmp(data.cFileName, "..") != 0;
}

// `folder` ends with a backslash. `status` is null unless a status-line mode runs, `identities` unless
// --folder-identity does.
void Walk(const std::string& folder, bool onePass, StatusWindow* status, IdentityReads* identities, Counts& counts)
{
    if (identities && !identities->EntersFirstTime(folder)) return;
    ++counts.folders;
    WIN32_FIND_DATAA data;
    {
        FindHandle search((folder + "*.*").c_str(), data);
        if (search.Found()) {
            do {
                if (status) status->Show(folder + data.cFileName);
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++counts.files;
                if (onePass && IsFolder(data))
                    Walk(folder + data.cFileName + "\\", onePass, status, identities, counts);
            } while (search.Next(data));
        }
    }
    if (onePass) return;
    FindHandle search((folder + "*").c_str(), data);
    if (!search.Found()) return;
    do {
        if (status) status->SecondSearchEntry();
        if (IsFolder(data)) Walk(folder + data.cFileName + "\\", onePass, status, identities, counts);
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
        else if (std::strcmp(argv[i], "--folder-identity") == 0)
            mode = Mode::FOLDER_IDENTITY;
        else if (std::strcmp(argv[i], "--pump-only") == 0)
            mode = Mode::PUMP_ONLY;
        else if (std::strcmp(argv[i], "--walker-pumps") == 0)
            mode = Mode::WALKER_PUMPS;
        else if (std::strcmp(argv[i], "--text-store") == 0)
            mode = Mode::TEXT_STORE;
        else if (std::strcmp(argv[i], "--status-line") == 0)
            mode = Mode::STATUS_LINE;
        else if (std::strcmp(argv[i], "--throttled-status-line") == 0)
            mode = Mode::THROTTLED_STATUS_LINE;
        else
            root = argv[i];
    }
    std::unique_ptr<StatusWindow> status;
    if (mode != Mode::TWO_PASS && mode != Mode::ONE_PASS && mode != Mode::FOLDER_IDENTITY)
        status.reset(new StatusWindow(mode));
    std::unique_ptr<IdentityReads> identities;
    if (mode == Mode::FOLDER_IDENTITY) identities.reset(new IdentityReads());
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    Counts counts;
    QueryPerformanceCounter(&start);
    Walk(root, mode == Mode::ONE_PASS, status.get(), identities.get(), counts);
    QueryPerformanceCounter(&stop);
    std::printf("seconds=%.6f files=%ld folders=%ld",
                static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart, counts.files, counts.folders);
    if (identities) std::printf(" identity_seconds=%.6f", identities->Seconds());
    std::printf("\n");
    return 0;
}
