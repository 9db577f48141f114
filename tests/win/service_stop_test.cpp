// Stopping a real service of the sandbox prefix: the test service is registered with sc.exe, started, and
// stopped through StopServiceByName.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/platform_handles.h"
#include "engine_fixture.h"
#include "system/service_stop.h"
#include "tests/win-service/test_service_resource.h"
#include "windows_version.h"

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

class ServiceHandles {
public:
    explicit ServiceHandles(const char* name)
        : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)),
          service_(manager_ ? OpenServiceA(manager_, name, SERVICE_ALL_ACCESS) : nullptr)
    {
    }
    ~ServiceHandles()
    {
        if (service_) CloseServiceHandle(service_);
        if (manager_) CloseServiceHandle(manager_);
    }
    SC_HANDLE Get() const { return service_; }
    DWORD State() const
    {
        SERVICE_STATUS status = {};
        return service_ && QueryServiceStatus(service_, &status) ? status.dwCurrentState : 0;
    }
    bool WaitForState(DWORD state) const
    {
        for (DWORD waited = 0; waited < kBoundMs; waited += kPollMs) {
            if (State() == state) return true;
            Sleep(kPollMs);
        }
        return false;
    }

private:
    SC_HANDLE manager_;
    SC_HANDLE service_;
};

// A registered test service, removed again with its process whatever the test's outcome.
class TestService {
public:
    TestService(const char* name, const char* argument) : name_(name)
    {
        folder_ = ScratchFolder(std::string("service-") + name);
        image_ = folder_ + "\\" + name + ".exe";
        if (!WriteServiceImage(image_)) return;
        registered_ = RunToEnd("sc create " + name_ + " binPath= \"" + image_ + " " + argument + "\"") == 0;
    }
    ~TestService()
    {
        EndProcess();
        if (registered_) RunToEnd("sc delete " + name_);
        DeleteFileA(image_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    bool Registered() const { return registered_; }
    const char* Name() const { return name_.c_str(); }
    // Starts the service and takes hold of its process, which outlives the stop until the test ends it.
    bool Start()
    {
        ServiceHandles service(Name());
        if (!service.Get() || !StartServiceA(service.Get(), 0, nullptr) || !service.WaitForState(SERVICE_RUNNING))
            return false;
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        if (!QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                  sizeof status, &needed))
            return false;
        process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId);
        return process_ != nullptr;
    }

private:
    void EndProcess()
    {
        if (!process_) return;
        if (TerminateProcess(process_, 0)) WaitForSingleObject(process_, kBoundMs);
        CloseHandle(process_);
    }

    std::string name_;
    std::string folder_;
    std::string image_;
    bool registered_ = false;
    HANDLE process_ = nullptr;
};

class ServiceStopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!IsNtFamily()) GTEST_SKIP() << "services exist on the NT family only";
        ASSERT_TRUE(FindResourceA(nullptr, MAKEINTRESOURCEA(TEST_SERVICE_RESOURCE), RT_RCDATA))
            << "the test program carries no test service";
    }
};

// Milliseconds that StopServiceByName took.
DWORD TimedStop(const char* name, uint8_t mode, int* result)
{
    DWORD started = GetTickCount();
    *result = StopServiceByName(name, mode);
    return GetTickCount() - started;
}

// Starts the service, then stops it with StopServiceByName: false when it cannot be registered or started.
bool StartThenTimeStop(TestService& service, int* result, DWORD* took)
{
    if (!service.Registered() || !service.Start()) return false;
    *took = TimedStop(service.Name(), SERVICE_MODE_STOP, result);
    return true;
}

}  // namespace

TEST_F(ServiceStopTest, ServiceThatStopsAtOnceIsStoppedWithoutAPause)
{
    TestService service("vexsvcquick", "0");
    int result = -1;
    DWORD took = 0;
    ASSERT_TRUE(StartThenTimeStop(service, &result, &took));
    EXPECT_EQ(1, result) << "state now " << ServiceHandles(service.Name()).State();
    EXPECT_LT(took, 1000u) << "no one-second pause for a service that stopped at once";
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceHandles(service.Name()).State());
}

TEST_F(ServiceStopTest, StopPendingIsWaitedOutInOneSecondSteps)
{
    TestService service("vexsvcslow", "2500");
    int result = -1;
    DWORD took = 0;
    ASSERT_TRUE(StartThenTimeStop(service, &result, &took));
    EXPECT_EQ(1, result);
    EXPECT_GE(took, 2000u);
    EXPECT_LT(took, 6000u);
}

TEST_F(ServiceStopTest, MissingOrStoppedServiceGivesZeroWithoutAPause)
{
    int result = -1;
    EXPECT_LT(TimedStop("vexsvcnosuchservice", SERVICE_MODE_STOP, &result), 500u);
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, StopServiceByName("vexsvcnosuchservice", SERVICE_MODE_PROBE));

    TestService service("vexsvcidle", "0");
    ASSERT_TRUE(service.Registered());
    EXPECT_EQ(1, StopServiceByName(service.Name(), SERVICE_MODE_PROBE)) << "a registered service opens";
    EXPECT_LT(TimedStop(service.Name(), SERVICE_MODE_STOP, &result), 500u);
    EXPECT_EQ(0, result) << "a service that is not running refuses the stop request";
}

TEST_F(ServiceStopTest, EndlessStopPendingIsGivenUpAfterThirtySeconds)
{
    if (!IsWindowsXp()) GTEST_SKIP() << "the 30-second wait is checked once, on winxp";
    TestService service("vexsvcstuck", "forever");
    int result = -1;
    DWORD took = 0;
    ASSERT_TRUE(StartThenTimeStop(service, &result, &took));
    EXPECT_EQ(0, result);
    EXPECT_GE(took, kStopPendingLimitSeconds * 1000 - 500);
    EXPECT_LT(took, kStopPendingLimitSeconds * 1000 + 5000);
}
