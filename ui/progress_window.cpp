#include "ui/progress_window.h"

#include <commctrl.h>

#include "app/messages.h"
#include "engine/clearing_lease.h"
#include "engine/history_cleaner.h"
#include "engine/run_gate.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

CWindowProgressDelete::CWindowProgressDelete(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CDialog(IDD_PROGRESS_DELETE), settings_(settings), cleaner_(cleaner) {}

CWindowProgressDelete::~CWindowProgressDelete() {
    // The window goes while a run is still going: stop it at its next block or step and wait for
    // it, since it works on objects that go with this window. The exit path bounds that wait and
    // ends the process instead when a worker does not come back.
    if (thread_) {
        settings_->stopRequested = 1;
        Gate().Resume();
        thread_->Join(INFINITE);
    }
}

bool CWindowProgressDelete::StopRun(DWORD timeoutMs) {
    if (thread_) {
        thread_->done = 1;
        settings_->stopRequested = 1;
        Gate().Resume(); // a cancel question may hold it: the run ends whatever the answer
        if (!thread_->Join(timeoutMs)) return false;
    }
    if (hwnd_) Finish();
    return true;
}

bool CWindowProgressDelete::Start(HWND mainWindow, CDeleteThread::Work work) {
    if (hwnd_) return false; // one run at a time
    mainWindow_ = mainWindow;
    work_ = std::move(work);
    if (!Create(nullptr)) return false;
    if (settings_->showShredProgress) ShowWindow(hwnd_, SW_SHOW);
    return true;
}

BOOL CWindowProgressDelete::OnInitDialog() {
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN),
                                                     IMAGE_ICON, 16, 16, LR_SHARED)));
    for (int id : {IDC_PROGRESS_FILE, IDC_PROGRESS_STATIC1, IDC_PROGRESS_STATIC2, IDC_PROGRESS_STATIC3})
        ShowItem(id, false);
    EnableItem(IDC_PROGRESS_CANCEL, true);
    finishPending_ = false;

    poster_ = std::make_unique<CProgressPoster>(hwnd_, progressBar(), mainWindow_);
    poster_->WatchStop(&settings_->stopRequested);
    thread_ = std::make_unique<CDeleteThread>(work_);
    thread_->observer = poster_.get();
    thread_->settings = settings_;
    thread_->cleaner = cleaner_;
    if (cleaner_) {
        cleanersObserver_ = cleaner_->observer();
        cleaner_->SetObserver(poster_.get());
    }
    if (!thread_->CreateSuspended()) {
        // Without a worker nothing would ever end the run: end it here as a run that was stopped.
        thread_.reset();
        settings_->stopRequested = 1;
        EndClearing(*settings_);
        poster_->RunFinished(settings_->exitAfterRun != 0);
        return TRUE;
    }
    thread_->Resume();
    return TRUE;
}

void CWindowProgressDelete::OnCommand(int id, int) {
    if (id == IDC_PROGRESS_CANCEL || id == IDCANCEL) AskCancel();
}

void CWindowProgressDelete::AskCancel() {
    if (settings_->stopRequested || asking_ || !thread_) return;
    asking_ = true;
    Gate().Pause(); // the worker waits at its next block or step
    const bool yes = AskQuestion(hwnd_, "Warning", "", "Do you want to cancel shredding?", IDI_BOX_QUESTION);
    // The exit path may have stopped the run and closed this window while the question was open.
    if (yes && thread_) {
        thread_->done = 1;
        settings_->stopRequested = 1;
    }
    Gate().Resume();
    asking_ = false;
    if (finishPending_ && hwnd_) Finish();
}

void CWindowProgressDelete::Finish() {
    finishPending_ = false;
    if (thread_) {
        thread_->Join(INFINITE); // it has posted its last message and is returning
        thread_.reset();
    }
    if (cleaner_) cleaner_->SetObserver(cleanersObserver_);
    DestroyWindow();
}

LRESULT CWindowProgressDelete::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MsgRunFinished:
        // While the cancel question is open the window must outlive it.
        if (asking_)
            finishPending_ = true;
        else
            Finish();
        return TRUE;
    case MsgShowCurrentFile:
        ShowItem(IDC_PROGRESS_FILE, true);
        SetItemText(IDC_PROGRESS_FILE, settings_->CurrentFileText().c_str()); // a copy, taken under a lock
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
