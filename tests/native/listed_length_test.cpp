#include "engine/listed_length.h"

#include <gtest/gtest.h>

TEST(ListedLength, OrdinaryEntriesKeepTheirFullLengthReparsePointsAreOpenedToTell)
{
    EXPECT_EQ(17941, TrustedListedLength(0x20, 0, 17941));
    EXPECT_EQ((int64_t{1} << 32) + 17941, TrustedListedLength(0x01, 1, 17941))
        << "a file over 4 GiB is not taken for its low 32 bits";
    // A symbolic link is listed with length 0; its target may be infected.
    EXPECT_EQ(-1, TrustedListedLength(0x20 | kReparsePointAttribute, 0, 0));
}
