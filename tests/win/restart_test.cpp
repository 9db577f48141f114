// The restart request on each family, with the reboot itself replaced by a recorder: a real one would end
// every process of the prefix, this test program included (scripts/restart-test.sh does that on purpose).
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/platform_handles.h"
#include "system/restart.h"
#include "windows_version.h"

namespace {

HANDLE OpenToken()
{
    HANDLE token = nullptr;
    return OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token) ? token : nullptr;
}

// Attributes of the shutdown privilege in this process's token; -1 when the token does not hold it.
long ShutdownPrivilegeAttributes()
{
    ScopedHandle token(OpenToken());
    LUID shutdown = {};
    if (!token.IsValid() || !LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown)) return -1;
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenPrivileges, buffer.data(), size, &size)) return -1;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID& luid = privileges->Privileges[i].Luid;
        if (luid.LowPart == shutdown.LowPart && luid.HighPart == shutdown.HighPart)
            return static_cast<long>(privileges->Privileges[i].Attributes);
    }
    return -1;
}

void DisableShutdownPrivilege()
{
    ScopedHandle token(OpenToken());
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    ASSERT_TRUE(token.IsValid());
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr));
}

struct RebootRequest {
    int calls;
    UINT flags;
    DWORD reason;
    bool privilegeEnabled;
};
RebootRequest recorded;
BOOL answer;

BOOL WINAPI RecordReboot(UINT flags, DWORD reason)
{
    long attributes = ShutdownPrivilegeAttributes();
    recorded = {recorded.calls + 1, flags, reason, attributes >= 0 && (attributes & SE_PRIVILEGE_ENABLED) != 0};
    return answer;
}

class RestartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        recorded = {};
        answer = TRUE;
        if (ShutdownPrivilegeAttributes() < 0) GTEST_SKIP() << "this token has no shutdown privilege to enable";
        DisableShutdownPrivilege();
    }
};

}  // namespace

TEST_F(RestartTest, NtFamilyEnablesTheShutdownPrivilegeBeforeTheForcedReboot)
{
    if (IsWin9x()) GTEST_SKIP() << "the NT family's road";
    EXPECT_EQ(1, RestartComputerWith(RecordReboot));
    ASSERT_EQ(1, recorded.calls);
    EXPECT_EQ(static_cast<UINT>(EWX_REBOOT | EWX_FORCE), recorded.flags);
    EXPECT_EQ(0u, recorded.reason);
    EXPECT_TRUE(recorded.privilegeEnabled);

    answer = FALSE;
    EXPECT_EQ(0, RestartComputerWith(RecordReboot)) << "the request's own result comes back";
}

TEST_F(RestartTest, Windows9xAsksDirectlyWithTheSameFlags)
{
    if (!IsWin9x()) GTEST_SKIP() << "the 9x road";
    EXPECT_EQ(1, RestartComputerWith(RecordReboot));
    ASSERT_EQ(1, recorded.calls);
    EXPECT_EQ(static_cast<UINT>(EWX_REBOOT | EWX_FORCE), recorded.flags);
    EXPECT_FALSE(recorded.privilegeEnabled) << "no token is touched on 9x";
}
