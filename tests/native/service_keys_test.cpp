#include "repair/service_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ServiceKeyPath, SubKeysBeforeTheServiceKeyInEachControlSet)
{
    const std::vector<std::string> expected = {
        "SYSTEM\\ControlSet001\\Services\\abc\\Enum",     "SYSTEM\\ControlSet001\\Services\\abc\\Security",
        "SYSTEM\\ControlSet001\\Services\\abc",           "SYSTEM\\CONTROLSET002\\SERVICES\\abc\\Enum",
        "SYSTEM\\ControlSet002\\Services\\abc\\Security", "SYSTEM\\ControlSet002\\Services\\abc",
    };
    std::vector<std::string> paths;
    for (int step = 0; step < kServiceKeyDeletions; ++step) {
        char path[kServiceKeyPathSize];
        ASSERT_TRUE(ServiceKeyPath(step, "abc", path)) << step;
        paths.push_back(path);
    }
    EXPECT_EQ(expected, paths);
}

TEST(ServiceKeyPath, NeverACutPathNorTheServicesKeyItself)
{
    char path[kServiceKeyPathSize];
    EXPECT_FALSE(ServiceKeyPath(2, "", path)) << "an empty name would name the Services key";
    EXPECT_STREQ("", path);

    // "SYSTEM\ControlSet001\Services\" is 30 characters and "\Security" 9: 472 name characters fill 511.
    const std::string fits(472, 'n');
    ASSERT_TRUE(ServiceKeyPath(1, fits.c_str(), path));
    EXPECT_EQ(511u, std::string(path).size());
    const std::string tooLong(473, 'n');
    EXPECT_FALSE(ServiceKeyPath(1, tooLong.c_str(), path));
    EXPECT_STREQ("", path);
    EXPECT_TRUE(ServiceKeyPath(2, tooLong.c_str(), path)) << "the service key itself still fits";

    EXPECT_FALSE(ServiceKeyPath(-1, "abc", path));
    EXPECT_FALSE(ServiceKeyPath(kServiceKeyDeletions, "abc", path));
}
