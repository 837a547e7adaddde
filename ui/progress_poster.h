#pragma once
// What a threaded run reports, turned into messages for the progress window: the file now being
// removed (MsgShowCurrentFile), the bar's range and position, the run's end (MsgRunFinished, and
// the exit command to the main window when the run was told to end the program). It is called on
// the worker thread and only posts, never sends, at most once per interval (see ProgressThrottle):
// a cross-thread SendMessage costs about 0.3 ms under Wine, and every update repaints the window.
#include "engine/clearing_observer.h"
#include "ui/progress_throttle.h"

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
    HWND OwnerWindow() const override { return window_; }

private:
    void Post();

    HWND window_, bar_, mainWindow_;
    ProgressThrottle throttle_;
};
