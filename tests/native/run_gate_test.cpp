// The cooperative pause between the progress window and the clearing worker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "engine/run_gate.h"

namespace {

void WaitForWaiters(const RunGate& gate, int count) {
    while (gate.Waiting() < count) std::this_thread::yield();
}

} // namespace

TEST(RunGate, OpenGateDoesNotBlock) {
    RunGate gate;
    gate.WaitWhilePaused();
    gate.Pause();
    gate.Resume();
    gate.WaitWhilePaused();
    EXPECT_FALSE(gate.Paused());
}

TEST(RunGate, WorkerWaitsUntilResumed) {
    RunGate gate;
    gate.Pause();
    std::atomic<int> passed{0};
    std::thread worker([&] {
        gate.WaitWhilePaused();
        passed = 1;
    });
    WaitForWaiters(gate, 1);
    EXPECT_EQ(passed.load(), 0);
    gate.Resume();
    worker.join();
    EXPECT_EQ(passed.load(), 1);
    EXPECT_EQ(gate.Waiting(), 0);
}

TEST(RunGate, ResumeReleasesEveryWaiter) {
    RunGate gate;
    gate.Pause();
    std::atomic<int> passed{0};
    std::thread a([&] { gate.WaitWhilePaused(), ++passed; });
    std::thread b([&] { gate.WaitWhilePaused(), ++passed; });
    WaitForWaiters(gate, 2);
    gate.Resume();
    a.join();
    b.join();
    EXPECT_EQ(passed.load(), 2);
}

TEST(RunGate, ThePausingThreadIsNeverHeld) {
    // A clear that runs on the UI thread while that thread has the gate paused must not wait
    // for itself; the bound only turns a deadlock into a failure.
    RunGate gate;
    auto done = std::async(std::launch::async, [&] {
        gate.Pause();
        gate.WaitWhilePaused();
        gate.Resume();
    });
    EXPECT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
}
