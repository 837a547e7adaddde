#pragma once
// Portable: no Windows header.
#include <cstdint>

// Decides what the shredding worker posts to the progress window. A post costs the worker about
// 0.15 ms under Wine and every update makes the UI thread repaint (about 2 ms), so updates go out
// at most once per interval, in one batch: the file name if it changed, the bar's range if it
// changed, and its position if that moved the bar by a pixel or reached the end. Nothing is lost:
// what changed meanwhile goes out with the next batch.
class ProgressThrottle {
public:
    explicit ProgressThrottle(uint32_t intervalMs = 50) : interval_(intervalMs) {}
    void SetInterval(uint32_t intervalMs) { interval_ = intervalMs; }
    // A new progress window: nothing has been posted to it yet.
    void Reset();

    void NameChanged() { nameDirty_ = true; }
    // A new pass over a bar of `range` steps drawn `pixels` wide (0: unknown, 100 steps assumed);
    // the position goes back to 0.
    void StartRange(uint64_t range, uint32_t pixels);
    void Move(uint64_t position) { position_ = position; }

    struct Posts {
        bool name = false;
        bool range = false;
        bool position = false;
        uint64_t rangeValue = 0;
        uint64_t positionValue = 0;
        bool Any() const { return name || range || position; }
    };
    // What to post at time `nowMs` (a millisecond tick count, wrapping); what it returns counts as
    // posted.
    Posts Due(uint32_t nowMs);

private:
    uint32_t interval_;
    bool posted_ = false; // anything ever posted
    uint32_t lastPost_ = 0;
    bool nameDirty_ = false;
    bool rangeDirty_ = false;
    uint64_t range_ = 0, postedRange_ = 0, step_ = 1;
    uint64_t position_ = 0, postedPosition_ = 0;
};
