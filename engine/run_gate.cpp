#include "engine/run_gate.h"

void RunGate::Pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    pausedBy_ = std::this_thread::get_id();
    paused_.store(true, std::memory_order_release);
}

void RunGate::Resume() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paused_.store(false, std::memory_order_release);
        pausedBy_ = std::thread::id();
    }
    resumed_.notify_all();
}

void RunGate::WaitWhilePaused() {
    // Called at every block of a pass: the common case is one atomic load.
    if (!paused_.load(std::memory_order_acquire)) return;
    std::unique_lock<std::mutex> lock(mutex_);
    if (pausedBy_ == std::this_thread::get_id()) return;
    waiting_.fetch_add(1, std::memory_order_acq_rel);
    resumed_.wait(lock, [this] { return !paused_.load(std::memory_order_acquire); });
    waiting_.fetch_sub(1, std::memory_order_acq_rel);
}

RunGate& Gate() {
    static RunGate gate;
    return gate;
}
