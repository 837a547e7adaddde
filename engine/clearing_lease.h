#pragma once
// One clearing at a time. The threaded run, the clear entry's and the exit path's synchronous
// clearings, the pages' CLEAR buttons and the browser and Skype watches all take the lease before
// they call a cleaner: the one HistoryCleaner holds an overwrite file, a pass pattern, a random
// source and a progress throttle that two threads must never share, and a clear started from a
// nested message loop (a box, a watch's timer) must not cut into another. The lease is the
// settings' runActive flag, and a semaphore of the session that another process of the program (a
// clearing from the command line) takes too.
#include "app/settings.h"

// Takes the lease; false when a clearing already holds it.
bool TryBeginClearing(ProgramSettings& settings);
void EndClearing(ProgramSettings& settings);

// Holds the lease for a scope, so that a clearing that throws still gives it back.
class ClearingLease {
public:
    explicit ClearingLease(ProgramSettings& settings) : settings_(settings), held_(TryBeginClearing(settings)) {}
    ~ClearingLease() {
        if (held_) EndClearing(settings_);
    }
    ClearingLease(const ClearingLease&) = delete;
    ClearingLease& operator=(const ClearingLease&) = delete;
    explicit operator bool() const { return held_; }
    // The threaded run gives the lease back itself, on its worker thread, when it ends.
    void HandOver() { held_ = false; }

private:
    ProgramSettings& settings_;
    bool held_;
};
