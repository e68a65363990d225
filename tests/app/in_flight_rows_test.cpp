#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/batch/in_flight_rows.h"

namespace brindor::app {
namespace {

std::pair<int, bool> Of(InFlightRows::Slot slot) {
    return {slot.row, slot.existing};
}

// Five rows of an earlier run; links 2 and 3 show their commits; link 1, held back by a busy
// service without a commit, gets its row before theirs.
TEST(InFlightRows, KeepsTheRunsOrderAndDropsRowsThatGotNoOutcome) {
    InFlightRows rows;
    EXPECT_EQ(Of(rows.Show(2, 5)), std::make_pair(-1, false));
    EXPECT_EQ(Of(rows.Show(3, 6)), std::make_pair(-1, false));
    EXPECT_EQ(Of(rows.Show(3, 7)), std::make_pair(6, true)); // sent again after a pause: the same row
    EXPECT_EQ(Of(rows.Fill(1)), std::make_pair(5, false));
    EXPECT_EQ(Of(rows.Fill(2)), std::make_pair(6, true));
    EXPECT_EQ(Of(rows.Show(4, 8)), std::make_pair(-1, false));
    EXPECT_EQ(rows.TakeUnfilled(), (std::vector<int>{8, 7}));
    EXPECT_EQ(Of(rows.Fill(3)), std::make_pair(-1, false));
}

} // namespace
} // namespace brindor::app
