// Service key removal on the registry of the sandbox prefix. Wine has no numbered control sets of its own, so
// each test builds the keys it needs, with an ImagePath that names a file on drive C:.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform_handles.h"
#include "engine_fixture.h"
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

// The service's image, and another file that a service of the same name may run instead.
const std::string kImage = "C:\\vextest\\servicekeys\\vexkeytest.exe";
const std::string kOtherImage = "C:\\vextest\\servicekeys\\other\\vexkeytest.exe";

// Builds the service's key, running `image`, with the given sub-keys in each listed control set.
void Register(const std::vector<const char*>& controlSets, const std::vector<const char*>& subKeys,
              const std::string& image = kImage)
{
    for (const char* controlSet : controlSets) {
        ASSERT_TRUE(CreateMachineKey(ServiceKey(controlSet)));
        ScopedKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, ServiceKey(controlSet).c_str(), KEY_SET_VALUE));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key.Get(), "ImagePath", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(image.c_str()),
                                 static_cast<DWORD>(image.size() + 1)));
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
        ScratchFolder("servicekeys");
        CreateDirectoryA("C:\\vextest\\servicekeys\\other", nullptr);
        WriteFile(kImage, "MZ");
        WriteFile(kOtherImage, "MZ");
    }
    void TearDown() override
    {
        RemoveTree("C:\\vextest\\servicekeys");
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
    EXPECT_EQ(1, RemoveServiceKeys(kName, kImage.c_str()));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[0])));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[1])));
    EXPECT_TRUE(MachineKeyExists(ServiceKey(kControlSets[2]) + "\\Enum")) << "only the numbered sets are touched";
}

TEST_F(ServiceKeysTest, OneControlSetIsEnough)
{
    Register({kControlSets[0]}, {"Enum", "Security"});
    EXPECT_EQ(1, RemoveServiceKeys(kName, kImage.c_str()));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[0])));
}

TEST_F(ServiceKeysTest, AThirdSubKeyKeepsTheServiceKey)
{
    Register({kControlSets[0], kControlSets[1]}, {"Enum", "Security", "Parameters"});
    EXPECT_EQ(1, RemoveServiceKeys(kName, kImage.c_str())) << "Enum and Security went";
    for (const char* controlSet : {kControlSets[0], kControlSets[1]}) {
        EXPECT_FALSE(MachineKeyExists(ServiceKey(controlSet) + "\\Enum")) << controlSet;
        EXPECT_FALSE(MachineKeyExists(ServiceKey(controlSet) + "\\Security")) << controlSet;
        EXPECT_TRUE(MachineKeyExists(ServiceKey(controlSet) + "\\Parameters")) << controlSet;
    }
}

TEST_F(ServiceKeysTest, NoKeysGivesZero)
{
    EXPECT_EQ(0, RemoveServiceKeys(kName, kImage.c_str()));
    EXPECT_EQ(0, DeleteMachineKey("SYSTEM\\ControlSet001\\Services\\vexkeytest-none"));
}

TEST_F(ServiceKeysTest, AControlSetWhoseServiceRunsAnotherFileIsLeft)
{
    Register({kControlSets[0]}, {"Enum", "Security"});
    Register({kControlSets[1]}, {"Enum", "Security"}, kOtherImage);
    EXPECT_EQ(1, RemoveServiceKeys(kName, kImage.c_str()));
    EXPECT_FALSE(MachineKeyExists(ServiceKey(kControlSets[0])));
    EXPECT_TRUE(MachineKeyExists(ServiceKey(kControlSets[1]) + "\\Enum"));
    EXPECT_TRUE(MachineKeyExists(ServiceKey(kControlSets[1]) + "\\Security"));
}
