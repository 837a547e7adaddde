#pragma once
// The program's top-level window: toolbar, navigation panel, splitter and the page on show; the tray
// icon and its menu; commands, timers, hot keys and the exit path.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/clear_entry.h"
#include "app/settings.h"
#include "engine/clearing_observer.h"
#include "platform/handles.h"
#include "ui/framework/splitter.h"
#include "ui/framework/wnd.h"
#include "ui/pages/settings_page.h"
#include "ui/page.h"
#include "ui/panels.h"
#include "ui/progress_window.h"
#include "ui/tray_menu.h"

extern const char kDisplayName[];

class HistoryCleaner;

// For the clearings on its own thread the window is the cleaners' observer: it shows their
// warnings and owns what they open. It is also the clear entry's host.
class CWindowMain : public CWnd,
                    public ClearingObserver,
                    private ClearEntry::Host,
                    private SettingsPageHost {
public:
    // The process's settings record and cleaner; tests give their own.
    CWindowMain(ProgramSettings* settings, HistoryCleaner* cleaner);
    ~CWindowMain() override;

    // Registers the window class (the display name without spaces; dialog-style default procedure,
    // DLGWINDOWEXTRA, icon 200) and creates the window, not yet shown.
    bool Create(HINSTANCE instance);
    // The main window initialisation; false when the window could not be set up.
    bool Initialise();

    // The one exit path. A second call while the first runs (or after it) does nothing.
    void ExitProgram() override;
    // Shows the window, asking for the password first when it is protected and hidden or
    // minimised; false when it stays as it was.
    bool ShowMainWindow();
    // The clear entry: every request to clear all selected items comes here; `trigger` names what
    // asked in the clearing's report.
    void ClearAll(int mode, const char* trigger = "clear-all") { clearEntry_.ClearAll(mode, trigger); }
    // Before leaving a page with unapplied changes: ask whether to reset them. True: go on.
    bool LeavePageGuard();
    // Quick select of most options on every page, then the note about what was left out.
    void SelectMostOptions();

    // The single-instance mutex that this process owns; the exit path lets go of it before its
    // last wait, so that a new start does not mistake the ending program for a running one.
    void SetInstanceMutex(HANDLE mutex) { instanceMutex_.Reset(mutex); }

    // The page table. Pages are created by Initialise; tests may add their own before it runs.
    void AddPage(uint32_t id, CPage* page);
    CPage* PageFor(uint32_t id) const;
    uint32_t currentPageId() const { return currentPageId_; }
    CPage* currentPage() const { return PageFor(currentPageId_); }

    HICON windowIcon() const { return windowIcon_; }
    int showCount() const { return showCount_; }
    bool schedulerRunning() const { return schedulerRunning_; }
    bool trayIconAdded() const { return trayIconAdded_; }
    HWND toolbar() const { return toolbar_; }
    CWindowLeftPanel& leftPanel() { return leftPanel_; }
    CWindowRightPanel& rightPanel() { return rightPanel_; }
    CWindowSplitter& splitter() { return splitter_; }
    CTrayMenu& trayMenu() { return trayMenu_; }
    CWindowProgressDelete& progressWindow() { return progress_; }

    static std::string WindowClassName();

    // ClearingObserver
    void Message(const std::string& caption, const std::string& text) override;
    HWND OwnerWindow() const override { return hwnd_; }
    // Skype and Google Desktop: false when the user keeps the program running.
    bool PromptClose(RunningProgram program) override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateToolbar();
    bool CreateChildren();
    void Layout();
    void FitPage();
    void SetSplitterRange();
    LRESULT OnSelectPage(uint32_t id);
    void OnSplitterMoved(int distance);
    void CheckTreeButton(UINT command);
    void ShowTree(TreeMode mode, UINT command);
    void ShowHelpPage(uint32_t page);

    void OnCommand(int id);
    void OnTimer(UINT_PTR id);
    void OnHotKey(int id);
    void OnTrayCallback(WPARAM id, LPARAM mouseMessage);
    LRESULT OnToolbarCustomDraw(NMCUSTOMDRAW* draw);
    void OnExitCommand();
    // Protected, and hidden or minimised: showing it takes the password.
    bool Locked() const;
    bool AskPassword();
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool CreateRemainingPages();
    void StartScheduler();
    void RearmWatchTimer(UINT_PTR id, bool on, UINT period);
    void RecordPlacement();
    void ScheduleIndexDatDeletion();
    void BrowserWatch();
    void SkypeWatch();

    // ClearEntry::Host
    void ShowNotice(const char* caption, const char* text) override;
    void ConfirmCleared(const char* caption, const char* firstLine, std::shared_ptr<const RunRecord> record) override;
    void PromptCloseSelectedBrowsers() override;
    bool StartThreadedRun(const char* trigger) override;
    bool ThreadedRunOpen() const override { return progress_.running(); }
    std::shared_ptr<const RunRecord> ClearSynchronously(const char* trigger) override;
    bool AnythingSelected() const override;

    // SettingsPageHost
    bool SchedulerRunning() const override { return schedulerRunning_; }
    void StartScheduler(UINT periodMs) override;
    void StopScheduler() override;
    HWND HotKeyWindow() const override { return hwnd_; }

    // How long the exit path waits for a threaded run to stop before it ends the process.
    static constexpr DWORD kRunStopWaitMs = 30000;

    ProgramSettings* settings_;
    HistoryCleaner* cleaner_;
    ScopedHandle instanceMutex_;
    ClearEntry clearEntry_;
    HICON windowIcon_ = nullptr;
    int showCount_ = 0;
    bool schedulerRunning_ = false;
    bool trayIconAdded_ = false;
    bool hookInstalled_ = false;

    HWND toolbar_ = nullptr;
    HIMAGELIST toolbarImages_ = nullptr;
    CWindowLeftPanel leftPanel_;
    CWindowSplitter splitter_;
    CWindowRightPanel rightPanel_;
    std::map<uint32_t, CPage*> pages_;
    std::vector<std::unique_ptr<CPage>> ownedPages_;
    uint32_t currentPageId_ = 0;
    int currentPreferredWidth_ = 460, currentPreferredHeight_ = 420;
    CTrayMenu trayMenu_;
    CWindowProgressDelete progress_;
};
