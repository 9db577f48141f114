#include <gtest/gtest.h>

#include "base/text_buffer.h"

TEST(TextBuffer, CopyFitsExactlyOrRefuses)
{
    char buffer[4];
    EXPECT_TRUE(CopyText(buffer, "abc"));
    EXPECT_STREQ("abc", buffer);
    EXPECT_FALSE(CopyText(buffer, "abcd"));
    EXPECT_STREQ("", buffer);
}

TEST(TextBuffer, AppendNeverWritesPastTheEnd)
{
    char buffer[6] = "ab";
    EXPECT_TRUE(AppendText(buffer, "cde"));
    EXPECT_STREQ("abcde", buffer);
    EXPECT_FALSE(AppendText(buffer, "f"));
    EXPECT_STREQ("abcde", buffer);
}

TEST(TextBuffer, FormatRefusesATruncatedResult)
{
    char buffer[8];
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%d-%s", 12, "ab"));
    EXPECT_STREQ("12-ab", buffer);
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s", "12345678"));
    EXPECT_STREQ("", buffer);
}

TEST(TextBuffer, FieldCopyReadsNothingBeyondAnUnterminatedField)
{
    struct {
        char field[4];
        char after[4];
    } entry = {{'a', 'b', 'c', 'd'}, {'e', 'f', 'g', '\0'}};
    char buffer[16] = "old";
    EXPECT_FALSE(CopyFieldText(buffer, entry.field));
    EXPECT_STREQ("", buffer);
    entry.field[3] = '\0';
    EXPECT_TRUE(CopyFieldText(buffer, entry.field));
    EXPECT_STREQ("abc", buffer);
}
