// The one rule for reading a value into a fixed buffer: a value that fills it exactly is read, a longer one
// is not (a cut-off command could name another file).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/registry_value.h"

namespace {

const char kKey[] = "Software\\Vexilor Tests\\Machine String";

void StoreString(const std::string& text)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    const LONG stored = RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, stored);
}

}  // namespace

TEST(RegistryValue, StringThatFillsTheBufferIsReadAndALongerOneIsNot)
{
    char buffer[300];
    ASSERT_NO_FATAL_FAILURE(StoreString(std::string(299, 'f')));
    EXPECT_EQ(1, ReadRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Folder", buffer, sizeof buffer));
    EXPECT_EQ(299u, std::strlen(buffer));

    ASSERT_NO_FATAL_FAILURE(StoreString(std::string(300, 'f')));
    EXPECT_EQ(0, ReadRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Folder", buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);

    EXPECT_EQ(0, ReadRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Absent", buffer, sizeof buffer));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Vexilor Tests");
}
