#pragma once
// Cooperative pause of the clearing worker. The progress window pauses the gate while it asks
// whether to cancel; the worker waits at its next 4096-byte block or its next step. Suspending the
// thread instead could stop it inside the heap or CRT lock and deadlock the question box.
// Portable: no Windows header.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class RunGate {
public:
    void Pause();
    void Resume();
    // Blocks while paused, unless the caller is the thread that paused (a clear run on the UI
    // thread inside the question's message loop must not wait for itself).
    void WaitWhilePaused();

    bool Paused() const { return paused_.load(std::memory_order_acquire); }
    // Threads blocked in WaitWhilePaused right now.
    int Waiting() const { return waiting_.load(std::memory_order_acquire); }

private:
    std::mutex mutex_;
    std::condition_variable resumed_;
    std::atomic<bool> paused_{false};
    std::atomic<int> waiting_{0};
    std::thread::id pausedBy_;
};

// The process's one gate.
RunGate& Gate();
