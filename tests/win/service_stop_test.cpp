// Stopping a real service of the sandbox prefix: the test service is registered with sc.exe, started, and
// stopped through StopServiceByName.
#include <windows.h>

#include <gtest/gtest.h>

#include "registered_service.h"
#include "system/service_stop.h"
#include "tests/win-service/test_service_resource.h"
#include "windows_version.h"

namespace {

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
