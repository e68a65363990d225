#include <gtest/gtest.h>

#include <vector>

#include "app/batch/in_flight_rows.h"

namespace brindor::app {
namespace {

bool Is(InFlightRows::Slot slot, int row, bool existing) {
    return slot.row == row && slot.existing == existing;
}

// Five rows of an earlier run; links 2 and 3 show their commits; link 1, held back by a busy
// service without a commit, gets its row before theirs.
TEST(InFlightRows, KeepsTheRunsOrderAndDropsRowsThatGotNoOutcome) {
    InFlightRows rows;
    EXPECT_TRUE(Is(rows.Show(2, 5), -1, false));
    EXPECT_TRUE(Is(rows.Show(3, 6), -1, false));
    EXPECT_TRUE(Is(rows.Show(3, 7), 6, true)); // sent again after a pause: the same row
    EXPECT_TRUE(Is(rows.Fill(1), 5, false));
    EXPECT_TRUE(Is(rows.Fill(2), 6, true));
    EXPECT_TRUE(Is(rows.Show(4, 8), -1, false));
    EXPECT_EQ(rows.TakeUnfilled(), (std::vector<int>{8, 7}));
    EXPECT_TRUE(rows.TakeUnfilled().empty());
    EXPECT_TRUE(Is(rows.Fill(3), -1, false));
}

} // namespace
} // namespace brindor::app
