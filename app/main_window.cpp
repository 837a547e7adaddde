#include "app/main_window.h"

#include <shellapi.h>

#include <cstddef>
#include <cstdio>

#include "app/messages.h"
#include "control/hot_keys.h"
#include "hook/hook.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"

namespace {

// Icon 68 from Windows XP (NT 5.1) on, 203 on older systems.
int WindowIconId() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return IDI_WINDOW_CLASSIC;
    const bool xpOrLater = version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                           ((version.dwMajorVersion == 5 && version.dwMinorVersion > 0) || version.dwMajorVersion > 5);
    return xpOrLater ? IDI_WINDOW_XP : IDI_WINDOW_CLASSIC;
}

// The structure size of shell 5.0 (488 bytes for the 32-bit program): tips of up to 128 characters,
// accepted by every shell from Windows 2000 on.
constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAA, guidItem);

} // namespace

std::string CWindowMain::WindowClassName() {
    std::string name;
    for (const char* p = kDisplayName; *p; ++p)
        if (*p != ' ') name += *p;
    return name;
}

CWindowMain::CWindowMain(ProgramSettings* settings) : settings_(settings), progress_(settings, nullptr) {
    windowIcon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(WindowIconId()));
    // The class procedure is the default dialog procedure: the window behaves as a dialog for
    // keyboard navigation among its child pages.
    defaultProc_ = DefDlgProcA;
}

CWindowMain::~CWindowMain() = default;

bool CWindowMain::Create(HINSTANCE instance) {
    const std::string className = WindowClassName();
    if (!RegisterWindowClass(className.c_str(), instance, LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)),
                             DLGWINDOWEXTRA))
        return false;
    return CreateEx(0, className.c_str(), kDisplayName, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, 0, instance);
}

bool CWindowMain::Initialise() {
    ProgramSettings& s = *settings_;
    s.LoadSettings();

    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));
    RegisterStartupHotKeys(hwnd_, s);

    if (!s.invisibleMode) AddTrayIcon();
    SetHook(hwnd_, s.clearClipboardOnCtrlV ? TRUE : FALSE, s.clearClipboardOnShiftIns ? TRUE : FALSE);
    hookInstalled_ = true;

    SetWindowPos(hwnd_, nullptr, s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (!s.invisibleMode) {
        ShowWindow(hwnd_, s.windowShowCmd);
        ++showCount_;
    }
    if (s.clearOnStart) ClearAll(ClearSilent);
    StartScheduler();
    ScheduleIndexDatDeletion();
    if (s.clearOnBrowserClose) SetTimer(hwnd_, TimerBrowserWatch, 5000, nullptr);
    if (s.clearSkypeOnQuit) SetTimer(hwnd_, TimerSkypeWatch, 8000, nullptr);
    return true;
}

void CWindowMain::AddTrayIcon() {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON;
    nid.uCallbackMessage = MsgTrayCallback;
    nid.hIcon = windowIcon_;
    trayIconAdded_ = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
    nid.uFlags = NIF_ICON | NIF_TIP;
    std::snprintf(nid.szTip, sizeof nid.szTip, "%s \n", kDisplayName);
    Shell_NotifyIconA(NIM_MODIFY, &nid);
}

void CWindowMain::RemoveTrayIcon() {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &nid);
    trayIconAdded_ = false;
}

void CWindowMain::StartScheduler() {
    const ProgramSettings& s = *settings_;
    const long long period = (static_cast<long long>(s.clearEveryHours) * 60 + s.clearEveryMinutes) * 60000;
    if (s.clearEvery && period > 0 && period <= 0x7FFFFFFF) {
        SetTimer(hwnd_, TimerScheduler, static_cast<UINT>(period), nullptr);
        schedulerRunning_ = true;
    }
}

void CWindowMain::RearmWatchTimer(UINT_PTR id, bool on, UINT period) {
    if (on)
        SetTimer(hwnd_, id, period, nullptr);
    else
        KillTimer(hwnd_, id);
}

void CWindowMain::ShowMainWindow() {
    ProgramSettings& s = *settings_;
    ++showCount_;
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (s.passwordEnabled && !visible) {
        CCheckPassword dialog(settings_);
        if (dialog.Ask(hwnd_) != IDOK) {
            s.windowShowCmd = 0;
            return;
        }
        if (s.windowShowCmd == 0) s.windowShowCmd = 1;
    }
    const bool normalShow = showCount_ == 1 || (visible && !IsIconic(hwnd_)) || s.passwordEnabled;
    ShowWindow(hwnd_, normalShow ? s.windowShowCmd : SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

bool CWindowMain::LeavePageGuard() { return true; }

bool CWindowMain::AnyCleaningOptionSelected() const {
    const ProgramSettings& s = *settings_;
    const uint32_t browserBits = BrowserIE | BrowserMozilla | BrowserNetscape | BrowserOpera | BrowserFirefox |
                                 IEIndexDatContent | IEIndexDatAtStartup | BrowserSafari | BrowserChrome;
    for (uint32_t mask : {s.historyMask, s.bookmarksMask, s.cacheMask, s.cookiesMask, s.passwordsMask,
                          s.downloadsMask, s.purgeHistoryMask})
        if (mask & browserBits) return true;
    for (uint8_t flag :
         {s.emptyRecycleBin, s.clearRecentDocuments, s.emptyRecentItems, s.clearClipboard, s.emptyTempFolders,
          s.clearPageFileAtShutdown, s.clearToolbarHistory, s.clearRunHistory, s.clearSearchFilesHistory,
          s.clearSearchComputersHistory, s.clearUserAssist, s.clearStreams, s.clearOpenSaveHistory,
          s.clearOfficeHistory, s.clearMediaPlayerHistory, s.clearGoogleDesktopHistory, s.deleteSkypeCalls,
          s.deleteSkypeChats, s.purgeSkypeDatabase, s.clearAcrobatReaderRecent, s.clearAcrobatRecent,
          s.clearAcrobatHistory, s.clearAcrobatCollections, s.deleteIECompatCacheIndex, s.deletePrivacIEIndex,
          s.clearMostPopularSites, s.clearLastSession, s.clearOperaSpeedDial})
        if (flag) return true;
    return s.clearSkypeOnQuit != 0 || s.clearOnBrowserClose != 0;
}

void CWindowMain::ClearBrowsersSync() {}
void CWindowMain::ClearWindowsHistorySync() {}
void CWindowMain::ClearApplicationsSync() {}
void CWindowMain::ScheduleIndexDatDeletion() {}

void CWindowMain::ClearAll(int mode) {
    ProgramSettings& s = *settings_;
    if (!AnyCleaningOptionSelected()) {
        ShowMessage(hwnd_, "Warning", "", "Please select items you want to clear in 'What to clear' windows.",
                    IDI_BOX_MESSAGE);
        return;
    }
    if (s.shredFiles) {
        if (!s.runActive) {
            s.stopRequested = 0;
            s.runActive = 1;
            progress_.Start(this, [](CDeleteThread& thread) {
                ProgramSettings& rs = *thread.settings;
                PostMessageA(thread.progressWindow->hwnd(), MsgRunFinished, 0, 0);
                thread.done = 1;
                rs.stopRequested = 1;
                rs.runActive = 0;
                if (rs.exitAfterRun) PostMessageA(thread.mainWindow->hwnd(), WM_COMMAND, CmdExitProgram, 0);
            });
        }
    } else if (!s.runActive) {
        s.runActive = 1;
        ClearBrowsersSync();
        ClearWindowsHistorySync();
        ClearApplicationsSync();
        s.runActive = 0;
    }
    if (mode == ClearConfirm && !s.showShredProgress && !s.runActive)
        ShowMessage(hwnd_, kDisplayName, "", "All selected items have been deleted.", IDI_BOX_MESSAGE);
    if (mode == ClearAndExit && !s.runActive) ExitProgram();
}

void CWindowMain::OnExitCommand() {
    if (!LeavePageGuard()) return;
    settings_->exitAfterRun = 1;
    if (!settings_->clearOnExit)
        ExitProgram();
    else
        ClearAll(ClearAndExit);
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
}

void CWindowMain::ExitProgram() {
    ProgramSettings& s = *settings_;
    KillTimer(hwnd_, TimerShowDelay);
    KillTimer(hwnd_, TimerScheduler);
    if (s.exiting) return;
    s.exiting = 1;
    if (s.clearOnExit) {
        ClearBrowsersSync();
        ClearWindowsHistorySync();
        ClearApplicationsSync();
    }
    RemoveTrayIcon();
    RecordPlacement();
    UnregisterStartupHotKeys(hwnd_);
    if (hookInstalled_) {
        UnHook();
        hookInstalled_ = false;
    }
    s.SaveSettings();
    ScheduleIndexDatDeletion();
    Sleep(1500);
    DestroyWindow();
}

void CWindowMain::OnCommand(int id) {
    ProgramSettings& s = *settings_;
    switch (id) {
    case CmdClearHistory: ClearAll(s.confirmAfterClear ? ClearConfirm : ClearSilent); break;
    case CmdRearmBrowserWatch: RearmWatchTimer(TimerBrowserWatch, s.clearOnBrowserClose != 0, 5000); break;
    case CmdRearmSkypeWatch: RearmWatchTimer(TimerSkypeWatch, s.clearSkypeOnQuit != 0, 8000); break;
    case CmdOpenMainWindow: ShowMainWindow(); break;
    case CmdClearAll:
        if (!s.exiting) ClearAll(s.confirmAfterClear ? ClearConfirm : ClearSilent);
        break;
    case CmdSaveSettings:
        s.SaveSettings();
        ShowMessage(hwnd_, kDisplayName, "", "All settings have been saved.", IDI_BOX_MESSAGE);
        break;
    case CmdTrayExit:
    case CmdToolbarExit: OnExitCommand(); break;
    case CmdExitProgram: ExitProgram(); break;
    default: break;
    }
}

void CWindowMain::OnTimer(UINT_PTR id) {
    switch (id) {
    case TimerScheduler: ClearAll(ClearSilent); break;
    default: break;
    }
}

void CWindowMain::OnHotKey(int id) {
    switch (id) {
    case HotKeyIdClearAll:
        if (!settings_->exiting) ClearAll(ClearSilent);
        break;
    case HotKeyIdCloseAndClear:
        Sleep(1000);
        if (!settings_->exiting) ClearAll(ClearSilent);
        break;
    default: break;
    }
}

void CWindowMain::OnTrayCallback(WPARAM id, LPARAM mouseMessage) {
    if (id != kTrayIconId) return;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        SetForegroundWindow(hwnd_);
        ShowMainWindow();
    }
}

LRESULT CWindowMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wParam));
        return 0;
    case MsgTrayCallback:
        OnTrayCallback(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (LeavePageGuard()) ShowWindow(hwnd_, SW_HIDE);
            return 0;
        }
        break;
    case WM_ENDSESSION: {
        LRESULT result = Default(message, wParam, lParam);
        ExitProgram();
        return result;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return Default(message, wParam, lParam);
}
