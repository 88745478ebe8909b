// SPDX-License-Identifier: GPL-3.0-or-later
// When the event worker raises receive steps: gathering, holding and the periodic look.
#include "serial/rx_step_rule.h"

#include <gtest/gtest.h>

namespace kuvar::serial {
namespace {

using namespace std::chrono_literals;
using Clock = TRxStepRule::Clock;

TEST(RxStepRule, WaitsForBytesForeverUnlessHoldingOrWatchingLines) {
    struct Case {
        bool wantRx, periodic, holding;
        int timeout;
        bool waitsForReadable;
    } cases[] = {
        {true, false, false, -1, true},  // a plain stream: woken by bytes only
        {true, true, false, 50, true},   // modem lines or the transmit queue watched
        {true, false, true, 20, false},  // held bytes: look at the count, not at readability
        {true, true, true, 20, false},   // the shorter of the two
        {false, true, false, 50, false}, // no receive events at all
    };
    for (const Case& c : cases) {
        TRxStepRule rule(c.wantRx, c.periodic);
        if (c.holding)
            rule.StepEnded(true, Clock::now(), false, 10); // a handler that read nothing
        EXPECT_EQ(rule.Holding(), c.holding);
        EXPECT_EQ(rule.WaitTimeoutMs(), c.timeout) << c.wantRx << c.periodic << c.holding;
        EXPECT_EQ(rule.WaitsForReadable(), c.waitsForReadable);
    }
}

TEST(RxStepRule, BytesSoonAfterAStepGatherForTheRestOfTheSpacing) {
    TRxStepRule rule(true, false);
    const Clock::time_point t0 = Clock::now();
    EXPECT_EQ(rule.GatherMs(t0), 0) << "the first bytes go at once";
    rule.StepEnded(true, t0, true, 0);
    struct Case {
        Clock::duration after;
        int gather;
    } cases[] = {{0ms, 4}, {1ms, 3}, {2500us, 2}, {3999us, 1}, {4ms, 0}, {1s, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(rule.GatherMs(t0 + c.after), c.gather)
            << std::chrono::duration_cast<std::chrono::microseconds>(c.after).count() << " us";
    // A full driver queue goes at once; anything short of it gathers.
    EXPECT_EQ(rule.GatherMs(t0, TRxStepRule::kFullDriverQueue), 0);
    EXPECT_EQ(rule.GatherMs(t0, TRxStepRule::kFullDriverQueue - 1), 4);
    // A step that carried no received bytes (a modem line, say) does not count.
    rule.StepEnded(false, t0 + 1s, true, 0);
    EXPECT_EQ(rule.GatherMs(t0 + 1s), 0);
}

TEST(RxStepRule, HeldBytesRaiseAgainOnlyWhenMoreComeOrTheQueueIsFull) {
    struct Step {
        std::uint32_t unread;
        bool raised;
        bool holdingAfter;
    };
    struct Case {
        const char* name;
        std::uint32_t left;
        std::vector<Step> steps;
    } cases[] = {
        {"unchanged, then more", 10, {{10, false, true}, {10, false, true}, {11, true, true}}},
        {"fewer is no news", 10, {{7, false, true}, {8, true, true}}},
        {"gone ends the hold", 10, {{0, false, false}, {5, false, false}}},
        {"a full driver queue", 4095, {{4095, true, true}}},
    };
    for (const Case& c : cases) {
        TRxStepRule rule(true, false);
        rule.StepEnded(true, Clock::now(), false, c.left);
        for (const Step& s : c.steps) {
            EXPECT_EQ(rule.RaiseHeld(s.unread), s.raised) << c.name << " at " << s.unread;
            EXPECT_EQ(rule.Holding(), s.holdingAfter) << c.name << " at " << s.unread;
        }
    }
}

TEST(RxStepRule, OnlyAHandlerThatReadNothingHoldsItsBytes) {
    TRxStepRule rule(true, false);
    rule.StepEnded(true, Clock::now(), true, 30); // came during the step: new, raise at once
    EXPECT_FALSE(rule.Holding());
    EXPECT_TRUE(rule.WaitsForReadable());
    rule.StepEnded(true, Clock::now(), false, 30);
    EXPECT_TRUE(rule.Holding());
    rule.StepEnded(true, Clock::now(), false, 0);
    EXPECT_FALSE(rule.Holding());
}

} // namespace
} // namespace kuvar::serial
