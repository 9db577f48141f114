// Service key removal on the registry of the sandbox prefix. Wine has no numbered control sets of its own, so
// each test builds the keys it needs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repair/service_keys.h"
#include "windows_version.h"

namespace {

const char kName[] = "vexkeytest";
const char* const kControlSets[] = {"SYSTEM\\ControlSet001", "SYSTEM\\ControlSet002", "SYSTEM\\CurrentControlSet"};

std::string ServiceKey(const char* controlSet)
{
    return std::string(controlSet) + "\\Services\\" + kName;
}

bool CreateMachineKey(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool MachineKeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Builds the service's key with the given sub-keys in each listed control set.
void Register(const std::vector<const char*>& controlSets, const std::vector<const char*>& subKeys)
{
    for (const char* controlSet : controlSets) {
        ASSERT_TRUE(CreateMachineKey(ServiceKey(controlSet)));
        for (const char* subKey : subKeys) ASSERT_TRUE(CreateMachineKey(ServiceKey(controlSet) + "\\" + subKey));
    }
}

class ServiceKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Windows 9x deletes a key with all its sub-keys, and has no services to remove.
        if (!IsNtFamily()) GTEST_SKIP() << "service keys are removed on the NT family only";
        TearDown();
    }
    void TearDown() override
    {
        for (const char* controlSet : kControlSets) {
            for (const char* subKey : {"Enum", "Security", "Parameters"})
                RegDeleteKeyA(HKEY_LOCAL_MACHINE, (ServiceKey(controlSet) + "\\" + subKey).c_str());
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, ServiceKey(controlSet).c_str());
        }
    }
};

}  // namespace

TEST_F(ServiceKeysTest, BothControlSetsAreClearedButTheCurrentOneIsLeft)
{
    Register({kControlSets[0], kControlSets[1], kControlSets[2]}, {"Enum", "Security"});
    EXPECT_EQ(1, RemoveServiceKeys(kName));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[0])));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[1])));
    EXPECT_TRUE(MachineKeyExists(ServiceKey(kControlSets[2]) + "\\Enum")) << "only the numbered sets are touched";
}

TEST_F(ServiceKeysTest, OneControlSetIsEnough)
{
    Register({kControlSets[0]}, {"Enum", "Security"});
    EXPECT_EQ(1, RemoveServiceKeys(kName));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[0])));
}

TEST_F(ServiceKeysTest, AThirdSubKeyKeepsTheServiceKey)
{
    Register({kControlSets[0], kControlSets[1]}, {"Enum", "Security", "Parameters"});
    EXPECT_EQ(1, RemoveServiceKeys(kName)) << "Enum and Security went";
    for (const char* controlSet : {kControlSets[0], kControlSets[1]}) {
        EXPECT_FALSE(MachineKeyExists(ServiceKey(controlSet) + "\\Enum")) << controlSet;
        EXPECT_FALSE(MachineKeyExists(ServiceKey(controlSet) + "\\Security")) << controlSet;
        EXPECT_TRUE(MachineKeyExists(ServiceKey(controlSet) + "\\Parameters")) << controlSet;
    }
}

TEST_F(ServiceKeysTest, NoKeysGivesZero)
{
    EXPECT_EQ(0, RemoveServiceKeys(kName));
    EXPECT_EQ(0, DeleteMachineKey("SYSTEM\\ControlSet001\\Services\\vexkeytest-none"));
}
