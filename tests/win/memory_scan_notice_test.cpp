// The memory scan's restart notice ends the program, so it is watched from outside: this test program starts
// a second copy of itself that runs only the disabled child test below, and reads what the child printed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/platform_handles.h"
#include "base/scan_state.h"
#include "engine/scan_driver.h"
#include "engine_fixture.h"
#include "resources/resource_ids.h"
#include "windows_version.h"

namespace {

constexpr DWORD kBoundMs = 30000;

bool ButtonShown(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

// Prints what the box says and which buttons it offers, then answers Cancel: the program must end anyway.
DWORD WINAPI ReportAndCancelNotice(void*)
{
    for (DWORD waited = 0; waited < kBoundMs; waited += 20) {
        std::vector<HWND> boxes = OwnDialogBoxes();
        if (!boxes.empty()) {
            HWND box = boxes.front();
            char text[512] = "";
            GetDlgItemTextA(box, IDC_BOX_MESSAGE, text, sizeof text);
            char caption[64] = "";
            GetWindowTextA(box, caption, sizeof caption);
            std::printf("notice [%s] caption [%s] ok %d cancel %d\n", text, caption, ButtonShown(box, IDOK),
                        ButtonShown(box, IDCANCEL));
            std::fflush(stdout);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

// Runs this program with `arguments`, its output into `log`; the exit code, or -1 when it did not end in time.
long RunOwnCopy(const std::string& arguments, const std::string& log)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    ScopedHandle output(CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output.IsValid()) return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    std::string commandLine = std::string("\"") + self + "\" " + arguments;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return -1;
    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.Get(), kBoundMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        return -1;
    }
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

// The child's output, with its line ends as plain line feeds.
std::string ReadText(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            for (size_t i = 0; i < got; ++i)
                if (buffer[i] != '\r') text += buffer[i];
        std::fclose(file);
    }
    return text;
}

}  // namespace

// Only run as the child of the test below.
TEST(MemoryScanNotice, DISABLED_Child)
{
    ChannelRecorder recorder;
    std::memset(&Scan, 0, sizeof Scan);
    Scan.mainWindow = recorder.Window();
    Scan.action = ACTION_DELETE;
    // As after an infected process that resisted and whose service was not stopped.
    Scan.memoryRestartNeeded = 1;
    ScopedHandle watcher(CreateThread(nullptr, 0, ReportAndCancelNotice, nullptr, 0, nullptr));
    ScanMemory(ScanMemorySteps);
    std::printf("scan memory returned\n");
}

TEST(MemoryScanNotice, AnInfectedProcessLeftInMemoryEndsTheProgramAfterTheNotice)
{
    if (!IsNtFamily()) GTEST_SKIP() << "only the NT variant leaves an infected process to a restart";
    const std::string log = ScratchFolder("memory-notice") + "\\child.txt";
    const long code = RunOwnCopy("--gtest_also_run_disabled_tests --gtest_filter=MemoryScanNotice.DISABLED_Child", log);
    const std::string output = ReadText(log);
    EXPECT_EQ(0, code) << output;
    EXPECT_NE(std::string::npos,
              output.find("notice [W32/StartPage.Trojan  found in memory! registry entries created by the worm are "
                          "removed. You must restart the computer and run this program to continue scanning.\n\n"
                          "Restart the computer now?] caption [Vexilor Ver 1.0] ok 1 cancel 1"))
        << output;
    EXPECT_EQ(std::string::npos, output.find("scan memory returned")) << "the program went on after the notice";
    DeleteFileA(log.c_str());
}
