#pragma once
// The worker thread of a clearing run with shredding on. The progress window creates it suspended,
// hands its progress bar to the cleaner and resumes it; the run ends by posting MsgRunFinished.
#include <windows.h>

#include <functional>

#include "app/settings.h"

class CWindowMain;
class CWindowProgressDelete;
class HistoryCleaner;

class CDeleteThread {
public:
    using Work = std::function<void(CDeleteThread&)>;

    CWindowMain* mainWindow = nullptr;
    CWindowProgressDelete* progressWindow = nullptr;
    ProgramSettings* settings = nullptr;
    HistoryCleaner* cleaner = nullptr;
    volatile LONG done = 0; // set when the run ends, and by the progress window on cancel

    explicit CDeleteThread(Work work) : work_(std::move(work)) {}
    ~CDeleteThread();
    CDeleteThread(const CDeleteThread&) = delete;
    CDeleteThread& operator=(const CDeleteThread&) = delete;

    // Created suspended, normal priority, default stack.
    bool CreateSuspended();
    void Resume();
    // Waits for the thread to end (used when the window is torn down while a run is still going).
    void Join(DWORD timeoutMs);

    // The cancel question holds the worker at its next block or step instead of suspending it
    // wherever it happens to be (it could hold the heap lock).
    void Pause();
    void ResumeFromPause();
    void WaitWhilePaused();
    bool paused() const;

private:
    static DWORD WINAPI Entry(void* self);
    Work work_;
    HANDLE thread_ = nullptr;
    HANDLE running_ = CreateEventA(nullptr, TRUE, TRUE, nullptr); // signalled = not paused
};
