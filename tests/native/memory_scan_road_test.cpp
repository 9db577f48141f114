#include "system/memory/memory_scan_road.h"

#include <gtest/gtest.h>

#include "system/platform.h"

TEST(InfectedProcessRoad, EveryPlatformAndOutcome)
{
    struct Case {
        int platform;
        int generation;
        bool terminated;
        InfectedProcessRoad road;
    };
    const Case cases[] = {
        // 9x walks the image again whatever the termination gave: the check schedules a file still in use.
        {PLATFORM_WIN9X, NT_GENERATION_NONE, true, ROAD_REMOVAL_WALK},
        {PLATFORM_WIN9X, NT_GENERATION_NONE, false, ROAD_REMOVAL_WALK},
        // A terminated process is never taken for a service: no keys removed, no restart notice.
        {PLATFORM_NT, NT_GENERATION_4, true, ROAD_REMOVAL_WALK},
        {PLATFORM_NT, NT_GENERATION_5, true, ROAD_REMOVAL_WALK},
        {PLATFORM_NT, NT_GENERATION_NONE, true, ROAD_REMOVAL_WALK},
        {PLATFORM_NT, NT_GENERATION_4, false, ROAD_SERVICE},
        {PLATFORM_NT, NT_GENERATION_5, false, ROAD_SERVICE},
        // Vista and later: a resisting process gets no service treatment.
        {PLATFORM_NT, NT_GENERATION_NONE, false, ROAD_NONE},
        {PLATFORM_OTHER, NT_GENERATION_NONE, true, ROAD_NONE},
        {PLATFORM_QUERY_FAILED, NT_GENERATION_NONE, false, ROAD_NONE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.road, ChooseInfectedProcessRoad(c.platform, c.generation, c.terminated))
            << "platform " << c.platform << ", generation " << c.generation << ", terminated " << c.terminated;
    }
}

TEST(ServiceNameFromImagePath, FileNameCutAtItsLastDot)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\WINNT\\system32\\abc.exe", "abc"},
        {"C:\\dir.d\\svc.host.exe", "svc.host"},
        {"C:\\dir.d\\noext", "noext"},
        {"bare.exe", "bare"},
    };
    for (const auto& c : cases) {
        char name[kTextBufferSize];
        ASSERT_TRUE(ServiceNameFromImagePath(c.path, name)) << c.path;
        EXPECT_STREQ(c.name, name) << c.path;
    }
    char name[kTextBufferSize];
    EXPECT_FALSE(ServiceNameFromImagePath("C:\\dir\\", name));
    EXPECT_FALSE(ServiceNameFromImagePath("C:\\dir\\.exe", name));
}
