#pragma once
// The worker thread of a clearing run with shredding on. The progress window creates it suspended,
// makes itself the cleaner's observer and resumes it; the run reports its end to that observer.
#include <windows.h>

#include <functional>
#include <string>

#include "app/settings.h"
#include "platform/handles.h"

class ClearingObserver;
class HistoryCleaner;

class CDeleteThread {
public:
    // What the thread runs: the clearing run itself, or a stand-in in tests.
    using Work = std::function<void(CDeleteThread&)>;

    ClearingObserver* observer = nullptr; // the window that started the thread
    ProgramSettings* settings = nullptr;
    HistoryCleaner* cleaner = nullptr;
    volatile LONG done = 0; // set when the run ends, and by the progress window on cancel

    explicit CDeleteThread(Work work) : work_(std::move(work)) {}
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
    ScopedHandle thread_;
};

// The clearing run with shredding on, the work of the thread that ClearAll starts: recorded as
// started by `trigger`, its report saved in `reportsFolder` on the worker before the run's end is
// reported.
CDeleteThread::Work ThreadedClearing(std::string trigger, std::string reportsFolder);
