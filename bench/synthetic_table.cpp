#include "bench/synthetic_table.h"

#include <cstdio>
#include <random>

namespace {

// The ranges the full table's rows span.
constexpr int32_t kMinFileSize = 6656;
constexpr int32_t kMaxFileSize = 17088928;
constexpr int32_t kMinFirstOffset = -1442972;
constexpr int32_t kMaxFirstOffset = 51940;
constexpr int32_t kMinSecondOffset = -81671;
constexpr int32_t kMaxSecondOffset = 539627;

// The positions (from 0) the shipped rows hold in the full table.
constexpr int kShippedPositions[] = {0, 500, 668};

int32_t Between(std::mt19937_64& random, int32_t low, int32_t high)
{
    return static_cast<int32_t>(low + static_cast<int64_t>(random() % (uint64_t(int64_t{high} - low) + 1)));
}

SignatureRecord RandomRecord(std::mt19937_64& random, int row)
{
    SignatureRecord record{};
    std::snprintf(record.name, sizeof record.name, "W32/StartPage.Bench%03d.Trojan", row);
    record.firstOffset = Between(random, kMinFirstOffset, kMaxFirstOffset);
    record.secondOffset = Between(random, kMinSecondOffset, kMaxSecondOffset);
    for (uint8_t& byte : record.firstPattern) byte = static_cast<uint8_t>(random());
    for (uint8_t& byte : record.secondPattern) byte = static_cast<uint8_t>(random());
    record.fileSize = Between(random, kMinFileSize, kMaxFileSize);
    record.sizeTest = SIZE_TEST_EXACT;
    return record;
}

}  // namespace

std::vector<SignatureRecord> BuildSyntheticTable(const SignatureRecord* shipped, uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::vector<SignatureRecord> table;
    table.reserve(kSyntheticRowCount + 1);
    int nextShipped = 0;
    for (int row = 0; row < kSyntheticRowCount; ++row) {
        const bool shippedHere =
            nextShipped < 3 && row == kShippedPositions[nextShipped] && shipped[nextShipped].name[0] != '\0';
        table.push_back(shippedHere ? shipped[nextShipped++] : RandomRecord(random, row + 1));
    }
    table.push_back(SignatureRecord{});
    return table;
}
