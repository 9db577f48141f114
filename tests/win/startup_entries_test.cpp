// Start-up entry cleanup and the hosts-file check against a real registry and real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform_handles.h"
#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "engine/text_pattern_file.h"
#include "repair/startup_entries.h"
#include "windows_version.h"

namespace {
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunServices[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
const char kRemovedLine[] = "System Registry     W32/StartPage.Trojan removed";
const char kSystemInfected[] = "C:\\WINDOWS\\SYSTEM32\\EVIL.EXE";

// Collects the result lines the engine sends to the main window.
class ResultCapture {
public:
    ResultCapture()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VexResultCapture";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("VexResultCapture", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance,
                                nullptr);
        Lines().clear();
    }
    ~ResultCapture()
    {
        DestroyWindow(window_);
        Scan.mainWindow = nullptr;
    }
    HWND Window() const { return window_; }
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MSG_APPEND_RESULT) {
            Lines().push_back(Scan.resultLine);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_;
};

void SetValue(const char* subkey, const char* name, const std::string& data, DWORD type = REG_SZ)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, subkey, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                                            static_cast<DWORD>(data.size() + 1)));
    RegCloseKey(key);
}

bool HasValue(const char* subkey, const char* name)
{
    ScopedKey key;
    return key.Open(HKEY_LOCAL_MACHINE, subkey, KEY_READ) &&
           RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class StartupEntries : public ::testing::Test {
protected:
    void SetUp() override
    {
        Scan = ScanState{};
        Scan.mainWindow = capture_.Window();
        ASSERT_NE(nullptr, Scan.mainWindow);
        Scan.action = ACTION_DELETE;
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRun);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRunServices);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstall);
    }
    void Clean(const char* infected, const char* detection = "W32/StartPage.Test")
    {
        CopyText(Scan.currentFile, sizeof Scan.currentFile, infected);
        CleanStartupEntries(detection, CheckTextPatternFile);
    }
    ResultCapture capture_;
};
}  // namespace

TEST_F(StartupEntries, FullPathQuotedOrThroughTheEnvironment)
{
    SetValue(kRun, "quoted", "\"C:\\Windows\\System32\\evil.exe\" -start");
    SetValue(kRunServices, "expanded", "%SystemRoot%\\system32\\evil.exe", REG_EXPAND_SZ);
    SetValue(kRun, "behind rundll32", "rundll32.exe C:\\WINDOWS\\SYSTEM32\\EVIL.EXE");
    SetValue(kRun, "longer name", "C:\\WINDOWS\\SYSTEM32\\EVIL.EXE2.EXE");
    char root[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("SystemRoot", root, MAX_PATH));
    std::string infected = std::string(root) + "\\system32\\evil.exe";
    Clean(infected.c_str());
    EXPECT_FALSE(HasValue(kRun, "quoted"));
    EXPECT_FALSE(HasValue(kRunServices, "expanded"));
    EXPECT_TRUE(HasValue(kRun, "behind rundll32"));
    EXPECT_TRUE(HasValue(kRun, "longer name"));
    EXPECT_EQ((std::vector<std::string>{kRemovedLine, kRemovedLine}), ResultCapture::Lines());
    EXPECT_STREQ("expanded", Scan.startupValueName);
}

TEST_F(StartupEntries, BareNamesOnlyForFilesInSystemFolders)
{
    SetValue(kRun, "bare", "evil.exe");
    SetValue(kRun, "java", "java.exe");
    Clean("C:\\Temp\\evil.exe");
    EXPECT_TRUE(HasValue(kRun, "bare")) << "the file is not in a system folder";
    Clean("C:\\WINDOWS\\SYSTEM32\\a.exe");
    EXPECT_TRUE(HasValue(kRun, "java")) << "a.exe is not java.exe";
    Clean(kSystemInfected);
    EXPECT_FALSE(HasValue(kRun, "bare"));
    EXPECT_STREQ("bare", Scan.startupValueName);
}

TEST_F(StartupEntries, ConsecutiveValuesAreAllRemoved)
{
    SetValue(kRun, "a", kSystemInfected);
    SetValue(kRun, "b", std::string(kSystemInfected) + " /s");
    SetValue(kRun, "c", "C:\\keep.exe");
    SetValue(kRun, "d", kSystemInfected);
    Clean(kSystemInfected);
    EXPECT_FALSE(HasValue(kRun, "a"));
    EXPECT_FALSE(HasValue(kRun, "b"));
    EXPECT_TRUE(HasValue(kRun, "c"));
    EXPECT_FALSE(HasValue(kRun, "d"));
    EXPECT_EQ(3u, ResultCapture::Lines().size());
}

TEST_F(StartupEntries, RememberedNameIsDeletedAgainForTheNextDetection)
{
    SetValue(kRun, "worm", kSystemInfected);
    Clean(kSystemInfected);
    ASSERT_STREQ("worm", Scan.startupValueName);
    SetValue(kRun, "worm", "C:\\other.exe");
    SetValue(kRunServices, "worm", "C:\\other.exe");
    SetValue(kUninstall, "worm", "x");
    ResultCapture::Lines().clear();
    Clean("C:\\Temp\\second.exe", "W32/StartPage.Second");
    EXPECT_FALSE(HasValue(kRun, "worm"));
    EXPECT_FALSE(HasValue(kRunServices, "worm"));
    EXPECT_FALSE(HasValue(kUninstall, "worm"));
    const std::string line = "System Registry     W32/StartPage.Second removed";
    EXPECT_EQ((std::vector<std::string>{line, line, line}), ResultCapture::Lines());
}

TEST_F(StartupEntries, DataThatFillsItsBufferIsJudgedLongerDataIsSkipped)
{
    // 264 bytes with the terminator: the data fits, its expansion (261 characters) does not.
    const std::string filling = std::string(kSystemInfected) + " " + std::string(263 - 29, 'y');
    ASSERT_EQ(263u, filling.size());
    SetValue(kRun, "filling", filling);
    // Data larger than the buffer is passed over whole: a cut-off command is not judged.
    SetValue(kRun, "long", std::string(kSystemInfected) + " " + std::string(300, 'x'));
    Clean(kSystemInfected);
    EXPECT_FALSE(HasValue(kRun, "filling"));
    EXPECT_TRUE(HasValue(kRun, "long"));
}

TEST_F(StartupEntries, UninstallEntryCases)
{
    EXPECT_EQ(0, CleanUninstallEntry()) << "no uninstall key";
    SetValue(kUninstall, "UninstallString", "C:\\WINDOWS\\uninstall.exe /x");
    SetValue(kRun, "SMrhcjg7j0e38v", "C:\\WINDOWS\\rhcjg7j0e38v.exe");
    EXPECT_EQ(1, CleanUninstallEntry());
    EXPECT_FALSE(HasValue(kUninstall, "UninstallString"));
    EXPECT_FALSE(HasValue(kRun, "SMrhcjg7j0e38v"));
    SetValue(kUninstall, "UninstallString", "C:\\legit\\remove.exe");
    SetValue(kRun, "SMrhcjg7j0e38v", "C:\\WINDOWS\\rhcjg7j0e38v.exe");
    EXPECT_EQ(1, CleanUninstallEntry());
    EXPECT_TRUE(HasValue(kUninstall, "UninstallString"));
    EXPECT_FALSE(HasValue(kRun, "SMrhcjg7j0e38v")) << "still examined";
    EXPECT_TRUE(ResultCapture::Lines().empty());
}

namespace {
const char kInfectedHosts[] =
    "begin 644 hosts\r\n"
    "M5F5X:6QO<B!T97-T(&UA<FME<CH@82!W;W)M)W,@=75E;F-O9&5D(\t'!A>6QO\r\n"
    "M860@:6X@<&QA8V4@;V8@:&]S=\n  ',@96YT<FEE<SL@;F5V97(@82!H;W-T(&YA\r\n"
    "`\r\nend\r\n";

std::string HostsPath()
{
    char folder[MAX_PATH];
    if (IsWin9x()) {
        GetWindowsDirectoryA(folder, MAX_PATH);
        return std::string(folder) + "\\hosts";
    }
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\drivers\\etc\\hosts";
}

void WriteHosts(const std::string& text)
{
    const std::string path = HostsPath();
    const std::string folder = path.substr(0, path.rfind('\\'));
    CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    ScopedHandle file(CreateFileA(HostsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.IsValid()) << HostsPath();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}
}  // namespace

TEST_F(StartupEntries, InfectedHostsFileIsDeletedAndCounted)
{
    std::string path = HostsPath();
    WriteHosts(kInfectedHosts);
    Clean(kSystemInfected);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(1, Scan.filesInfected);
    EXPECT_EQ(1, Scan.filesRemoved);
    EXPECT_EQ((std::vector<std::string>{path + "     W32/Nyxem.Worm removed"}), ResultCapture::Lines());
    Clean(kSystemInfected);  // the next detection finds no hosts file
    EXPECT_EQ(1, Scan.filesInfected);
    WriteHosts("127.0.0.1 localhost\r\n");
}

TEST_F(StartupEntries, InfectedHostsFileThatStaysIsReportedOnlyWhenItsDeletionFailed)
{
    const std::string path = HostsPath();
    WriteHosts(kInfectedHosts);
    {
        // Readable, but held without delete sharing.
        ScopedHandle holder(
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder.IsValid());
        Clean(kSystemInfected);
    }
    EXPECT_EQ((std::vector<std::string>{path + "     W32/Nyxem.Worm Remove failed"}), ResultCapture::Lines());
    EXPECT_EQ(0, Scan.filesRemoved);

    ResultCapture::Lines().clear();
    Scan.action = 0;  // any code but delete: counted, nothing done, nothing said
    Clean(kSystemInfected);
    EXPECT_TRUE(ResultCapture::Lines().empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(2, Scan.filesInfected);
    WriteHosts("127.0.0.1 localhost\r\n");
}

TEST_F(StartupEntries, NoLineIsWrittenWhileNoWindowIsSet)
{
    SetValue(kRun, "worm", kSystemInfected);
    Scan.mainWindow = nullptr;
    CopyText(Scan.resultLine, "untouched");
    Clean(kSystemInfected);
    EXPECT_FALSE(HasValue(kRun, "worm")) << "removed all the same";
    EXPECT_STREQ("untouched", Scan.resultLine);
}

TEST_F(StartupEntries, OrdinaryHostsFileStays)
{
    WriteHosts("begin 127.0.0.1 localhost\r\n::1 localhost\r\n");
    Clean(kSystemInfected);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(HostsPath().c_str()));
    EXPECT_EQ(0, Scan.filesInfected);
    EXPECT_TRUE(ResultCapture::Lines().empty());
}
