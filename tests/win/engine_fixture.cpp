#include "engine_fixture.h"

#include <cstring>

#include "base/scan_state.h"
#include "tests/common/file_tree.h"

namespace {

const char kRecorderClass[] = "VexilorChannelRecorder";
const UINT kTerminateRequest = WM_APP + 1;

}  // namespace

ChannelRecorder::ChannelRecorder()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kRecorderClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowA(kRecorderClass, "recorder", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ChannelRecorder::~ChannelRecorder()
{
    DestroyWindow(window_);
}

LRESULT CALLBACK ChannelRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ChannelRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == 0x000A) {
        self->statuses.push_back(Scan.statusText);
        if (self->onStatus) self->onStatus();
        return 0;
    }
    if (self && message == kTerminateRequest) {
        Scan.terminateRequested = 1;
        return 0;
    }
    if (self && message == 0x000B) {
        self->results.push_back(Scan.resultLine);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ChannelRecorder::RequestTerminationAfter(int files)
{
    onStatus = [this, files, posted = false]() mutable {
        if (!posted && Scan.filesScanned >= files) {
            PostMessageA(window_, kTerminateRequest, 0, 0);
            posted = true;
        }
    };
}

std::string ScratchFolder(const std::string& name)
{
    CreateDirectoryA("C:\\vextest", nullptr);
    std::string folder = "C:\\vextest\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        ADD_FAILURE() << "no scratch folder " << folder;
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written) << path;
}

BoxAnswerer::BoxAnswerer(int button) : button_(button), thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}

BoxAnswerer::~BoxAnswerer()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 15000);
    CloseHandle(thread_);
}

bool BoxAnswerer::Answered()
{
    WaitForSingleObject(thread_, 15000);
    return answered_ != 0;
}

namespace {

BOOL CALLBACK CollectOwnDialogBox(HWND window, LPARAM boxes)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::strcmp(className, "#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<std::string> Statistics(int scanned, int infected, int removed)
{
    return {"Scanning statistics", "------------------------------",
            "Total files scanned\t\t:  " + std::to_string(scanned),
            "Total files infected\t\t:  " + std::to_string(infected),
            "Total files removed\t\t:  " + std::to_string(removed)};
}

std::vector<HWND> OwnDialogBoxes()
{
    std::vector<HWND> boxes;
    EnumWindows(CollectOwnDialogBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

DWORD WINAPI BoxAnswerer::Run(void* context)
{
    auto* self = static_cast<BoxAnswerer*>(context);
    for (int attempt = 0; attempt < 1000 && !self->stop_; ++attempt) {  // at most about 10 s
        std::vector<HWND> boxes = OwnDialogBoxes();
        if (!boxes.empty()) {
            PostMessageA(boxes.front(), WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED), 0);
            InterlockedExchange(&self->answered_, 1);
            return 0;
        }
        Sleep(10);
    }
    return 0;
}

void EngineTest::SetUp()
{
    std::memset(&Scan, 0, sizeof Scan);
    KeepResults = 0;
    recorder_ = new ChannelRecorder();
    ASSERT_NE(nullptr, recorder_->Window()) << "no window to record the channel";
    Scan.mainWindow = recorder_->Window();
    Scan.action = ACTION_DELETE;
}

void EngineTest::TearDown()
{
    // Samples left behind would be found by the next whole-drive scan.
    RemoveTree("C:\\vextest");
    delete recorder_;
    std::memset(&Scan, 0, sizeof Scan);
}
