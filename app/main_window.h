#pragma once
// The program's top-level window: tray icon, commands, timers, hot keys and the exit path.
#include <windows.h>

#include <string>

#include "app/settings.h"
#include "ui/framework/wnd.h"
#include "ui/progress_window.h"

extern const char kDisplayName[];

class CWindowMain : public CWnd {
public:
    explicit CWindowMain(ProgramSettings* settings);
    ~CWindowMain() override;

    // Registers the window class (the display name without spaces; dialog-style default procedure,
    // DLGWINDOWEXTRA, icon 200) and creates the window, not yet shown.
    bool Create(HINSTANCE instance);
    // The main window initialisation; false when the window could not be set up.
    bool Initialise();

    // The one exit path. A second call while the first runs (or after it) does nothing.
    void ExitProgram();
    // Shows the window, asking for the password first when it is protected and hidden.
    void ShowMainWindow();
    // The clear entry: every request to clear all selected items comes here.
    void ClearAll(int mode);
    // Before leaving a page with unapplied changes: ask whether to reset them. True: go on.
    bool LeavePageGuard();

    HICON windowIcon() const { return windowIcon_; }
    int showCount() const { return showCount_; }
    bool schedulerRunning() const { return schedulerRunning_; }
    bool trayIconAdded() const { return trayIconAdded_; }
    CWindowProgressDelete& progressWindow() { return progress_; }

    static std::string WindowClassName();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCommand(int id);
    void OnTimer(UINT_PTR id);
    void OnHotKey(int id);
    void OnTrayCallback(WPARAM id, LPARAM mouseMessage);
    void OnExitCommand();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void StartScheduler();
    void RearmWatchTimer(UINT_PTR id, bool on, UINT period);
    void RecordPlacement();
    bool AnyCleaningOptionSelected() const;
    void ClearBrowsersSync();
    void ClearWindowsHistorySync();
    void ClearApplicationsSync();
    void ScheduleIndexDatDeletion();

    ProgramSettings* settings_;
    HICON windowIcon_ = nullptr;
    int showCount_ = 0;
    bool schedulerRunning_ = false;
    bool trayIconAdded_ = false;
    bool hookInstalled_ = false;
    CWindowProgressDelete progress_;
};
