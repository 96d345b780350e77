#include <gtest/gtest.h>

#include <vector>

#include "clipboard/CaptureRetry.h"

TEST(CaptureRetry, WaitsGrowForAboutTwoSecondsAndANewerCopyStartsAfresh) {
    const auto waitsUntilGivenUp = [](TCaptureRetry& retry) {
        std::vector<unsigned> waits;
        for (unsigned wait; waits.size() < 100 && (wait = retry.Busy()) != 0;)
            waits.push_back(wait);
        return waits;
    };
    const auto total = [](const std::vector<unsigned>& waits) {
        unsigned sum = 0;
        for (unsigned wait : waits)
            sum += wait;
        return sum;
    };
    TCaptureRetry retry;
    const std::vector<unsigned> waits = waitsUntilGivenUp(retry);
    ASSERT_GE(waits.size(), 5u) << "too few tries";
    EXPECT_LE(waits.front(), 20u) << "the first try comes late";
    // Each wait at least twice the one before, but for the last, cut to the total.
    for (std::size_t i = 1; i + 1 < waits.size(); ++i)
        EXPECT_GE(waits[i], 2 * waits[i - 1]) << i;
    EXPECT_GE(total(waits), 1800u);
    EXPECT_LE(total(waits), 2000u);
    EXPECT_FALSE(retry.Pending()) << "a copy given up is still pending";

    // A newer copy heard of half-way drops the pending retry and gets the whole time again.
    const unsigned first = retry.Busy();
    retry.Busy();
    EXPECT_TRUE(retry.Pending());
    retry.Reset();
    EXPECT_FALSE(retry.Pending());
    EXPECT_EQ(retry.Busy(), first);
    EXPECT_GE(first + total(waitsUntilGivenUp(retry)), 1800u);
}
