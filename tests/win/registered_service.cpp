#include "registered_service.h"

#include "base/platform_handles.h"
#include "engine_fixture.h"
#include "tests/win-service/test_service_resource.h"

namespace {

constexpr DWORD kBoundMs = 15000;
constexpr DWORD kPollMs = 20;

// Runs a command line to its end; its exit code, or -1.
int RunToEnd(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &started))
        return -1;
    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.Get(), kBoundMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.Get(), &code))
        return -1;
    return static_cast<int>(code);
}

// Writes the service image the test program carries to `path`.
bool WriteServiceImage(const std::string& path)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(TEST_SERVICE_RESOURCE), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    WriteFile(path, std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found)));
    return FileExists(path);
}

}  // namespace

ServiceHandles::ServiceHandles(const char* name)
    : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)),
      service_(manager_ ? OpenServiceA(manager_, name, SERVICE_ALL_ACCESS) : nullptr)
{
}

ServiceHandles::~ServiceHandles()
{
    if (service_) CloseServiceHandle(service_);
    if (manager_) CloseServiceHandle(manager_);
}

DWORD ServiceHandles::State() const
{
    SERVICE_STATUS status = {};
    return service_ && QueryServiceStatus(service_, &status) ? status.dwCurrentState : 0;
}

bool ServiceHandles::WaitForState(DWORD state) const
{
    for (DWORD waited = 0; waited < kBoundMs; waited += kPollMs) {
        if (State() == state) return true;
        Sleep(kPollMs);
    }
    return false;
}

TestService::TestService(const char* name, const char* argument) : name_(name)
{
    folder_ = ScratchFolder(std::string("service-") + name);
    image_ = folder_ + "\\" + name + ".exe";
    if (!WriteServiceImage(image_)) return;
    registered_ = RunToEnd("sc create " + name_ + " binPath= \"" + image_ + " " + argument + "\"") == 0;
}

TestService::~TestService()
{
    EndProcess();
    if (registered_) RunToEnd("sc delete " + name_);
    DeleteFileA(image_.c_str());
    RemoveDirectoryA(folder_.c_str());
}

bool TestService::Start()
{
    ServiceHandles service(Name());
    if (!service.Get() || !StartServiceA(service.Get(), 0, nullptr) || !service.WaitForState(SERVICE_RUNNING))
        return false;
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                              &needed))
        return false;
    processId_ = status.dwProcessId;
    process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId);
    return process_ != nullptr;
}

void TestService::EndProcess()
{
    if (!process_) return;
    if (TerminateProcess(process_, 0)) WaitForSingleObject(process_, kBoundMs);
    CloseHandle(process_);
}
