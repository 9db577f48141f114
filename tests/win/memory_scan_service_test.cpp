// The memory scan's service road against a real service of the sandbox prefix. An infected process that
// resists termination (its security takes the right to terminate it from everyone) is taken for the service
// of its image's name only when that service runs the image.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform_handles.h"
#include "base/platform_text.h"
#include "base/scan_state.h"
#include "engine/detection/signature_record.h"
#include "engine_fixture.h"
#include "registered_service.h"
#include "repair/service_keys.h"
#include "running_sample.h"
#include "system/memory/memory_scan.h"
#include "windows_version.h"

namespace {

const char* const kNumberedSets[] = {"SYSTEM\\ControlSet001", "SYSTEM\\ControlSet002"};

// The image the walk takes as infected, and the images of the removal walks asked for.
std::string infectedImage;
std::vector<std::string> removalWalks;

int WalkTakingOneImageAsInfected(const char* path)
{
    if (Scan.memoryRemovalAction) {
        removalWalks.push_back(path);
    } else {
        Scan.lastFileInfected = EqualsIgnoreCase(path, infectedImage.c_str()) ? 1 : 0;
    }
    return 0;
}

const MemoryScanSteps kSteps = {WalkTakingOneImageAsInfected, RemoveServiceKeys};

// Leaves everyone the rights to read the process's image, none to terminate it.
bool DenyTermination(DWORD processId)
{
    ScopedHandle process(OpenProcess(WRITE_DAC, FALSE, processId));
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!process.IsValid() || !AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    char buffer[256];
    ACL* acl = reinterpret_cast<ACL*>(buffer);
    const bool set = InitializeAcl(acl, sizeof buffer, ACL_REVISION) &&
                     AddAccessAllowedAce(acl, ACL_REVISION,
                                         PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION |
                                             PROCESS_VM_READ | SYNCHRONIZE | READ_CONTROL,
                                         everyone) &&
                     SetSecurityInfo(process.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                                     nullptr) == ERROR_SUCCESS;
    FreeSid(everyone);
    ScopedHandle terminator(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    return set && !terminator.IsValid();
}

std::string NumberedKey(const char* controlSet, const char* name)
{
    return std::string(controlSet) + "\\Services\\" + name;
}

bool MachineKeyExists(const std::string& path)
{
    ScopedKey key;
    return key.Open(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ);
}

class MemoryScanServiceTest : public EngineTest {
protected:
    void SetUp() override
    {
        const DWORD major = NtMajorVersion();
        if (major != 4 && major != 5) GTEST_SKIP() << "the service road is NT 4's and NT 5's";
        EngineTest::SetUp();
        removalWalks.clear();
    }
    void TearDown() override
    {
        for (const std::string& key : keys_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
        EngineTest::TearDown();
    }
    // As NT keeps a service: its key, with Enum and Security, in both numbered control sets, running the
    // image that sc.exe registered (Wine keeps only the current set).
    void CopyToNumberedSets(const char* name)
    {
        char image[MAX_PATH] = "";
        DWORD size = sizeof image - 1;
        DWORD type = 0;
        ScopedKey current;
        ASSERT_TRUE(
            current.Open(HKEY_LOCAL_MACHINE, NumberedKey("SYSTEM\\CurrentControlSet", name).c_str(), KEY_QUERY_VALUE));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegQueryValueExA(current.Get(), "ImagePath", nullptr, &type, reinterpret_cast<BYTE*>(image), &size));
        for (const char* controlSet : kNumberedSets) {
            const std::string service = NumberedKey(controlSet, name);
            for (const std::string& key : {service + "\\Enum", service + "\\Security", service}) {
                HKEY created = nullptr;
                ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                         nullptr, &created, nullptr));
                if (key == service)
                    RegSetValueExA(created, "ImagePath", 0, type, reinterpret_cast<const BYTE*>(image), size);
                RegCloseKey(created);
                keys_.push_back(key);
            }
        }
    }
    bool NumberedKeysExist(const char* name) const
    {
        for (const char* controlSet : kNumberedSets)
            if (!MachineKeyExists(NumberedKey(controlSet, name) + "\\Enum")) return false;
        return true;
    }
    bool NumberedKeysGone(const char* name) const
    {
        for (const char* controlSet : kNumberedSets)
            if (MachineKeyExists(NumberedKey(controlSet, name))) return false;
        return true;
    }

private:
    std::vector<std::string> keys_;  // deepest first for each set, so that they can be deleted in order
};

}  // namespace

TEST_F(MemoryScanServiceTest, AServiceThatOnlySharesTheImagesNameKeepsRunningAndKeepsItsKeys)
{
    TestService service("vexroadnamesake", "0");
    ASSERT_TRUE(service.Registered() && service.Start());
    CopyToNumberedSets(service.Name());
    infectedImage = ScratchFolder("road-impostor") + "\\vexroadnamesake.exe";
    RunningSample sample(infectedImage, SignatureTable[0]);
    ASSERT_TRUE(sample.LoopsBeyond(0)) << "the sample does not run";
    ASSERT_TRUE(DenyTermination(sample.Id())) << "this Wine lets anyone terminate any process";

    ScanMemoryPsapi(kSteps);

    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), ServiceHandles(service.Name()).State());
    EXPECT_TRUE(NumberedKeysExist(service.Name()));
    EXPECT_TRUE(removalWalks.empty());
    EXPECT_EQ(1, Scan.memoryRestartNeeded) << "the infected process stayed in memory";
    EXPECT_TRUE(sample.Running());
}

TEST_F(MemoryScanServiceTest, AServiceThatRunsTheImageIsStoppedAndUnregistered)
{
    TestService service("vexroadrunner", "0");
    ASSERT_TRUE(service.Registered() && service.Start());
    CopyToNumberedSets(service.Name());
    infectedImage = service.Image();
    ASSERT_TRUE(DenyTermination(service.ProcessId())) << "this Wine lets anyone terminate any process";

    ScanMemoryPsapi(kSteps);

    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceHandles(service.Name()).State());
    EXPECT_TRUE(NumberedKeysGone(service.Name()));
    EXPECT_EQ(std::vector<std::string>{service.Image()}, removalWalks);
    EXPECT_EQ(0, Scan.memoryRestartNeeded);
}
