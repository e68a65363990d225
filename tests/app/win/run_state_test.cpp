#include <gtest/gtest.h>

#include "app/run_state.h"

namespace brindor::app {
namespace {

TEST(RunState, OneStartAtATimeAndAStopOnlyForTheRunItWasMeantFor) {
    RunState run;
    EXPECT_FALSE(run.Going());
    ASSERT_TRUE(run.TryStart(1000));
    EXPECT_EQ(run.phase(), RunPhase::kStarting);
    EXPECT_TRUE(run.Going());
    EXPECT_FALSE(run.TryStart(1001));
    // The click that started it comes twice in a double click; a later one is a stop.
    EXPECT_TRUE(run.JustStarted(1400, 500));
    EXPECT_FALSE(run.JustStarted(1500, 500));
    run.RequestStop();
    run.Run(2000, true);
    EXPECT_EQ(run.phase(), RunPhase::kRunning);
    EXPECT_FALSE(run.StopRequested()) << "a stop during the start's question ended that, not the run";
    EXPECT_TRUE(run.Unattended());
    run.RequestStop();
    EXPECT_TRUE(run.stop_request());
    run.End();
    EXPECT_FALSE(run.Going());
    ASSERT_TRUE(run.TryStart(3000));
    EXPECT_FALSE(run.StopRequested());
}

TEST(RunState, WaitingLinksJoinOnceAndTheOfferHoldsWhileTheListHasItsLinks) {
    RunState run;
    TextArray a;
    a.append(Text("a"));
    run.KeepWaiting(a);
    run.KeepWaiting(a);
    EXPECT_EQ(run.WaitingCount(), 2);
    EXPECT_EQ(run.TakeWaiting().count(), 2);
    EXPECT_EQ(run.WaitingCount(), 0);

    EXPECT_EQ(run.ResumedRunOf(a), 0);
    run.Offer(7, a);
    TextArray more = a;
    more.append(Text("b"));
    EXPECT_EQ(run.ResumedRunOf(more), 7);
    EXPECT_EQ(run.ResumedRunOf(TextArray()), 0);
}

} // namespace
} // namespace brindor::app
