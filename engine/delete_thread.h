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
    // What the thread runs: the clearing run itself, or a stand-in in tests.
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
    // Waits for the thread to end; false when it is still running after the timeout.
    bool Join(DWORD timeoutMs);

private:
    static DWORD WINAPI Entry(void* self);
    Work work_;
    HANDLE thread_ = nullptr;
};

// The clearing run with shredding on: the work of the thread that ClearAll starts.
void RunThreadedClearing(CDeleteThread& thread);
