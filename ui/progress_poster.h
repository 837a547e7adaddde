#pragma once
// What a threaded run reports, turned into messages for the progress window: the file now being
// removed (MsgShowCurrentFile), the bar's range and position, the run's end (MsgRunFinished, and
// the exit command to the main window when the run was told to end the program). It is called on
// the worker thread and only posts, never sends, at most once per interval (see ProgressThrottle):
// a cross-thread SendMessage costs about 0.3 ms under Wine, and every update repaints the window.
#include <atomic>

#include "engine/clearing_observer.h"
#include "platform/handles.h"
#include "ui/progress_throttle.h"

// A question to close a running program, asked by the worker and answered on the main window's
// thread (MsgPromptClose carries it). The worker may stop waiting for it (a cancel, the exit path);
// whoever holds it last frees it.
struct PromptCloseRequest {
    explicit PromptCloseRequest(RunningProgram p) : program(p), answered(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    RunningProgram program;
    std::atomic<bool> mayClose{true};
    std::atomic<bool> abandoned{false};
    ScopedHandle answered;
};
// On the main window's thread, for MsgPromptClose: asks `asker` unless the worker has given up.
void AnswerPromptClose(LPARAM request, ClearingObserver& asker);

class CProgressPoster : public ClearingObserver {
public:
    // Either window may be null; `mainWindow` receives the exit command.
    CProgressPoster(HWND window, HWND bar, HWND mainWindow) : window_(window), bar_(bar), mainWindow_(mainWindow) {}
    // 0 posts every change (tests).
    void SetInterval(uint32_t milliseconds) { throttle_.SetInterval(milliseconds); }

    void FileStarted() override;
    void PassStarted(uint64_t range) override;
    void PassMoved(uint64_t position) override;
    // Shown at once, on the worker's own thread: the run waits for the user, not for the window.
    void Message(const std::string& caption, const std::string& text) override;
    void RunFinished(bool exitProgram) override;
    // The question goes to the main window's thread, where the census and the boxes belong; the
    // worker waits for the answer, or until `stop` (the run's stop flag) is set.
    bool PromptClose(RunningProgram program) override;
    void WatchStop(const volatile int32_t* stop) { stop_ = stop; }
    HWND OwnerWindow() const override { return window_; }

private:
    void Post();

    HWND window_, bar_, mainWindow_;
    const volatile int32_t* stop_ = nullptr;
    ProgressThrottle throttle_;
    long barPixels_ = -1; // the bar's width, once asked
};
