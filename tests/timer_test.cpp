// Timers on the simulated clock: the tick rate, the frightened ten seconds,
// restarts, stopping and handlers that wait.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/timer.h"

namespace {

struct TimerRig {
    platform::SimPlatform sim;
    platform::Timer timer;
    std::vector<long long> fired;

    TimerRig(int interval, bool enabled) : timer("tmrTest", interval, enabled) {
        timer.onTimer = [this] { fired.push_back(sim.nowMs()); };
        sim.timers().add(timer);
    }
};

TEST(Timers, IntervalOneFiresSixtyTimesASecondWithoutDrift) {
    TimerRig rig(1, true);
    rig.sim.run(60001);
    ASSERT_EQ(rig.fired.size(), 3600u);
    EXPECT_EQ(rig.fired[0], 17);
    EXPECT_EQ(rig.fired[1], 34);
    EXPECT_EQ(rig.fired[2], 50);
    EXPECT_EQ(rig.fired[59], 1000);
    for (std::size_t n = 1; n <= rig.fired.size(); ++n) {
        // The n-th event falls at n x 1000/60 ms, never early.
        const long long exact = static_cast<long long>(n) * 1000;
        ASSERT_GE(rig.fired[n - 1] * 60, exact) << n;
        ASSERT_LT(rig.fired[n - 1] * 60 - exact, 60) << n;
    }
}

TEST(Timers, LongIntervalsAreKeptToTheMillisecond) {
    TimerRig rig(10000, true);
    rig.sim.run(30001);
    EXPECT_EQ(rig.fired, (std::vector<long long>{10000, 20000, 30000}));
}

TEST(Timers, EnablingADisabledTimerStartsItsIntervalAfresh) {
    TimerRig rig(10000, false);
    rig.sim.post(9000, [&] { rig.timer.setEnabled(true); });
    rig.sim.post(15000, [&] {
        // Off and on again: the count begins once more from here.
        rig.timer.setEnabled(false);
        rig.timer.setEnabled(true);
    });
    rig.sim.run(40000);
    EXPECT_EQ(rig.fired, (std::vector<long long>{25000, 35000}));
}

TEST(Timers, EnablingAnEnabledTimerDoesNotRestartIt) {
    TimerRig rig(1000, true);
    rig.sim.post(500, [&] { rig.timer.setEnabled(true); });
    rig.sim.run(1001);
    EXPECT_EQ(rig.fired, (std::vector<long long>{1000}));
}

TEST(Timers, IntervalZeroStopsAndAPositiveIntervalStartsAgain) {
    TimerRig rig(1, true);
    rig.sim.post(100, [&] { rig.timer.setInterval(0); });
    rig.sim.post(1000, [&] { rig.timer.setInterval(1); });
    rig.sim.run(1051);
    ASSERT_FALSE(rig.fired.empty());
    for (long long t : rig.fired) {
        EXPECT_TRUE(t <= 100 || t >= 1017) << "fired at " << t << " while stopped";
    }
    EXPECT_EQ(rig.fired.back(), 1050);
    EXPECT_EQ(rig.timer.Interval(), 1);
}

TEST(Timers, AHandlerThatWaitsIsNotFiredAgainUntilItReturns) {
    platform::SimPlatform sim;
    platform::Timer tick("tmrMain", 1, true);
    platform::Timer other("tmrGhost1", 100, true);
    sim.timers().add(tick);
    sim.timers().add(other);
    int running = 0;
    int most = 0;
    std::vector<long long> ticks;
    std::vector<long long> others;
    tick.onTimer = [&] {
        ++running;
        most = std::max(most, running);
        ticks.push_back(sim.nowMs());
        if (ticks.size() == 1) {
            // A two-second pause that keeps pumping, as after a lost life.
            for (int i = 0; i < 20; ++i) {
                sim.Sleep(100);
                sim.DoEvents();
            }
        }
        --running;
    };
    other.onTimer = [&] { others.push_back(sim.nowMs()); };
    sim.run(2100);
    EXPECT_EQ(most, 1);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_EQ(ticks[0], 17);
    // The slots missed during the pause fold into one event right after it.
    EXPECT_EQ(ticks[1], 2017);
    EXPECT_EQ(ticks[2], 2034);
    // Other timers go on firing inside the pause.
    EXPECT_GE(others.size(), 19u);
}

}  // namespace
