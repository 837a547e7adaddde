// The one exit path, and the "Exit" commands that lead to it.
#include "app/main_window.h"

#include "app/messages.h"
#include "control/browser_windows.h"
#include "control/hot_keys.h"
#include "engine/clearing_lease.h"
#include "hook/hook.h"

void CWindowMain::OnExitCommand() {
    if (!LeavePageGuard()) return;
    settings_->exitAfterRun = 1;
    if (!settings_->clearOnExit)
        ExitProgram();
    else
        ClearAll(ClearAndExit, "exit");
}

void CWindowMain::RecordPlacement() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd_, &placement)) return;
    ProgramSettings& s = *settings_;
    const RECT& r = placement.rcNormalPosition;
    s.windowLeft = r.left;
    s.windowTop = r.top;
    s.windowWidth = r.right - r.left;
    s.windowHeight = r.bottom - r.top;
    s.windowShowCmd = IsWindowVisible(hwnd_) ? static_cast<int32_t>(placement.showCmd) : 0;
    if (splitter_.hwnd()) {
        RECT bar;
        GetWindowRect(splitter_.hwnd(), &bar);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bar), 2);
        s.splitterPos = bar.left;
    }
}

void CWindowMain::ExitProgram() {
    ProgramSettings& s = *settings_;
    KillTimer(hwnd_, TimerShowDelay);
    KillTimer(hwnd_, TimerScheduler);
    if (s.exiting) return;
    s.exiting = 1;
    // A start from now on must not take this window for the running program's and only ask it to
    // show itself: without the title it waits until this process lets go of the instance.
    SetWindowTextA(hwnd_, "");
    // The worker and the exit-time clearing would share the one cleaner: the run stops first.
    const bool runEnded = progress_.StopRun(kRunStopWaitMs);
    if (s.clearOnExit && runEnded) {
        if (ClearingLease lease(s); lease) ClearSynchronously("exit");
    }
    RemoveTrayIcon();
    trayMenu_.Destroy();
    RecordPlacement();
    UnregisterStartupHotKeys(hwnd_);
    if (hookInstalled_) {
        UnHook();
        hookInstalled_ = false;
    }
    ShowHiddenBrowsers();
    leftPanel_.SaveExpansionState();
    s.SaveSettings();
    ScheduleIndexDatDeletion();

    ShowWindow(hwnd_, SW_HIDE);
    if (instanceMutex_.valid()) {
        ReleaseMutex(instanceMutex_.get());
        instanceMutex_.Close();
    }
    // A worker stuck in the file system would go on writing into objects that end with the
    // process: with everything saved, the process ends here instead, and says it did not end well
    // (a caller waiting on it must not take a hang for success).
    if (!runEnded) TerminateProcess(GetCurrentProcess(), ERROR_TIMEOUT);
    Sleep(1500);
    DestroyWindow();
}

