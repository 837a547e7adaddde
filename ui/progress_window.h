#pragma once
// "Files Shredding": the window that starts and owns the worker of a clearing run with shredding on,
// shows the file being shredded and lets the user cancel. It lives from the start of a run to
// MsgRunFinished; the object belongs to the main window and is reused for the next run.
#include <memory>

#include "resources/resource_ids.h"

#include "app/settings.h"
#include "engine/delete_thread.h"
#include "ui/framework/dialog.h"
#include "ui/progress_poster.h"

class CWindowProgressDelete : public CDialog {
public:
    CWindowProgressDelete(ProgramSettings* settings, HistoryCleaner* cleaner);
    ~CWindowProgressDelete() override;

    // Creates the window (no parent; shown only when showShredProgress is set) and starts `work` on a
    // new worker thread, with this window as the cleaner's observer. The work must end by reporting
    // RunFinished; `mainWindow` then gets the exit command when the run was told to end the program.
    bool Start(HWND mainWindow, CDeleteThread::Work work);
    CDeleteThread* thread() const { return thread_.get(); }
    // Stops the run this window started and waits at most `timeoutMs` for its worker to end; the
    // window then goes. False when the worker is still running.
    bool StopRun(DWORD timeoutMs);
    HWND progressBar() const { return Item(IDC_PROGRESS_BAR); }
    bool running() const { return hwnd_ != nullptr; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AskCancel();
    void Finish();

    ProgramSettings* settings_;
    HistoryCleaner* cleaner_;
    HWND mainWindow_ = nullptr;
    CDeleteThread::Work work_;
    std::unique_ptr<CProgressPoster> poster_;
    ClearingObserver* cleanersObserver_ = nullptr; // the cleaner's observer before the run, given back after it
    std::unique_ptr<CDeleteThread> thread_;
    bool asking_ = false;
    bool finishPending_ = false;
};
