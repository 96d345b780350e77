#include <gtest/gtest.h>

#include <vector>

#include "clipboard/CaptureRetry.h"

namespace {

std::vector<unsigned> WaitsUntilGivenUp(TCaptureRetry& retry) {
    std::vector<unsigned> waits;
    while (waits.size() < 100) {
        const unsigned wait = retry.Busy();
        if (wait == 0) break;
        waits.push_back(wait);
    }
    return waits;
}

} // namespace

TEST(CaptureRetry, WaitsGrowForAboutTwoSecondsThenTheCopyIsGivenUp) {
    TCaptureRetry retry;
    EXPECT_FALSE(retry.Pending());
    const std::vector<unsigned> waits = WaitsUntilGivenUp(retry);
    ASSERT_GE(waits.size(), 5u) << "too few tries";
    EXPECT_LE(waits.front(), 20u) << "the first try comes late";
    unsigned total = 0;
    for (std::size_t i = 0; i < waits.size(); ++i) {
        total += waits[i];
        // Each wait at least as long as the one before, but for the last, cut to the total.
        if (i > 0 && i + 1 < waits.size()) EXPECT_GE(waits[i], 2 * waits[i - 1]) << i;
    }
    EXPECT_GE(total, 1800u);
    EXPECT_LE(total, 2000u);
    // Given up, nothing is pending, and the next busy copy is waited for from the start.
    EXPECT_FALSE(retry.Pending());
    EXPECT_EQ(retry.Busy(), waits.front());
}

TEST(CaptureRetry, ANewerCopyDropsThePendingRetryAndStartsAfresh) {
    TCaptureRetry retry;
    const unsigned first = retry.Busy();
    retry.Busy();
    retry.Busy();
    EXPECT_TRUE(retry.Pending());
    retry.Reset();
    EXPECT_FALSE(retry.Pending());
    EXPECT_EQ(retry.Busy(), first);
    // The newer copy gets the whole two seconds again.
    unsigned total = first;
    for (unsigned wait : WaitsUntilGivenUp(retry))
        total += wait;
    EXPECT_GE(total, 1800u);
}
