#include <gtest/gtest.h>

#include "engine/entered_folders.h"

TEST(EnteredFolders, AFolderIsEnteredOnceAndOnlyItsOwnIdentityMatches)
{
    EnteredFolders entered;
    EXPECT_TRUE(entered.Enter({0x1234ABCD, 5}));
    EXPECT_FALSE(entered.Enter({0x1234ABCD, 5})) << "a link back to an entered folder";
    EXPECT_TRUE(entered.Enter({0x1234ABCE, 5})) << "the same index on another volume";
    EXPECT_TRUE(entered.Enter({0x1234ABCD, 5 + (1ull << 32)})) << "an index differing in its high half";
    // No identity: walked every time, as it would be without the set.
    EXPECT_TRUE(entered.Enter({0x1234ABCD, 0}));
    EXPECT_TRUE(entered.Enter({0x1234ABCD, 0}));
}

TEST(EnteredFolders, RemembersEveryFolderOfALargeDriveAcrossItsGrowth)
{
    EnteredFolders entered;
    constexpr uint64_t kFolders = 100000;
    for (uint64_t index = 1; index <= kFolders; ++index) ASSERT_TRUE(entered.Enter({7, index * 3})) << index;
    for (uint64_t index = 1; index <= kFolders; ++index) {
        ASSERT_FALSE(entered.Enter({7, index * 3})) << index;
        ASSERT_TRUE(entered.Enter({7, index * 3 + 1})) << index;
    }
}
