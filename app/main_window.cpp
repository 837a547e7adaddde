#include "app/main_window.h"

#include <commctrl.h>

#include <climits>

#include "app/messages.h"
#include "control/browser_windows.h"
#include "control/hot_keys.h"
#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "hook/hook.h"
#include "platform/windows_version.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/page_ids.h"
#include "ui/pages/browser_history_page.h"
#include "ui/pages/application_history_page.h"
#include "ui/pages/browser_pages.h"
#include "ui/pages/what_to_clear_page.h"
#include "ui/pages/windows_history_page.h"
#include "ui/pages/help_pages.h"
#include "ui/pages/option_pages.h"
#include "ui/report_view.h"

namespace {

OSVERSIONINFOEXA WindowsVersion() {
    OSVERSIONINFOEXA version;
    GetWindowsVersion(version);
    return version;
}

bool VersionAtLeastXP(const OSVERSIONINFOEXA& v) {
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           ((v.dwMajorVersion == 5 && v.dwMinorVersion > 0) || v.dwMajorVersion > 5);
}

// Icon 68 from Windows XP (NT 5.1) on, 203 on older systems.
int WindowIconId() { return VersionAtLeastXP(WindowsVersion()) ? IDI_WINDOW_XP : IDI_WINDOW_CLASSIC; }

constexpr int kSplitterWidth = 3;
constexpr int kMinPageWidth = 460, kMinPageHeight = 420;

// A damaged file or a monitor that has gone could put the window where nobody can reach it.
bool OnSomeScreen(const ProgramSettings& s) {
    const long long right = static_cast<long long>(s.windowLeft) + s.windowWidth;
    const long long bottom = static_cast<long long>(s.windowTop) + s.windowHeight;
    if (s.windowWidth <= 0 || s.windowHeight <= 0 || right > INT_MAX || bottom > INT_MAX) return false;
    const RECT r = {s.windowLeft, s.windowTop, static_cast<LONG>(right), static_cast<LONG>(bottom)};
    return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

bool IsShowCommand(int32_t command) { return command >= SW_HIDE && command <= SW_MAX; }

// On systems before Windows 2000 the tooltips of the desktop disappear too soon.
BOOL CALLBACK SlowTooltip(HWND window, LPARAM) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, "tooltips_class32") == 0) SendMessageA(window, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 300);
    return TRUE;
}

} // namespace

std::string CWindowMain::WindowClassName() {
    std::string name;
    for (const char* p = kDisplayName; *p; ++p)
        if (*p != ' ') name += *p;
    return name;
}

CWindowMain::CWindowMain(ProgramSettings* settings, HistoryCleaner* cleaner)
    : settings_(settings), cleaner_(cleaner), clearEntry_(*settings, *this), progress_(settings, cleaner) {
    windowIcon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(WindowIconId()));
    // The class procedure is the default dialog procedure: the window behaves as a dialog for
    // keyboard navigation among its child pages.
    defaultProc_ = DefDlgProcA;
}

CWindowMain::~CWindowMain() {
    if (toolbarImages_) ImageList_Destroy(toolbarImages_);
    if (cleaner_->observer() == this) cleaner_->SetObserver(nullptr);
}

bool CWindowMain::Create(HINSTANCE instance) {
    const std::string className = WindowClassName();
    if (!RegisterWindowClass(className.c_str(), instance, LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)),
                             DLGWINDOWEXTRA))
        return false;
    if (!CreateEx({.className = className.c_str(), .title = kDisplayName, .style = WS_OVERLAPPEDWINDOW,
                   .instance = instance}))
        return false;
    cleaner_->SetObserver(this); // the clearings on this thread report here
    return true;
}

void CWindowMain::AddPage(uint32_t id, CPage* page) { pages_[id] = page; }

CPage* CWindowMain::PageFor(uint32_t id) const {
    auto it = pages_.find(id);
    return it == pages_.end() ? nullptr : it->second;
}

bool CWindowMain::CreateToolbar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0,
                               hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!toolbar_) return false;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    toolbarImages_ = ImageList_Create(40, 32, ILC_COLOR24 | ILC_MASK, 6, 0);
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ImageList_AddMasked(toolbarImages_, strip, RGB(0, 0, 255));
    DeleteObject(strip);
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_));
    static const char strings[] = "Tools\0Help\0Separator\0Clear All\0Separator\0Check\0Separator\0Save\0Exit\0";
    SendMessageA(toolbar_, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings));

    const BYTE spacer = TBSTATE_INDETERMINATE;
    TBBUTTON buttons[] = {
        {0, static_cast<int>(CmdTools), TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
        {1, static_cast<int>(CmdHelpTree), TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 1},
        {I_IMAGENONE, static_cast<int>(CmdSpacer), spacer, BTNS_BUTTON, {}, 0, -1},
        {2, static_cast<int>(CmdClearAll), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 3},
        {I_IMAGENONE, static_cast<int>(CmdSpacer), spacer, BTNS_BUTTON, {}, 0, -1},
        {3, static_cast<int>(CmdSelectMostOptions), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 5},
        {I_IMAGENONE, static_cast<int>(CmdSpacer), spacer, BTNS_BUTTON, {}, 0, -1},
        {4, static_cast<int>(CmdSaveSettings), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 7},
        {5, static_cast<int>(CmdToolbarExit), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 8},
    };
    SendMessageA(toolbar_, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0], reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CWindowMain::CreateChildren() {
    if (!CreateToolbar()) return false;
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT tb;
    GetWindowRect(toolbar_, &tb);
    const int top = tb.bottom - tb.top;
    const int x = settings_->splitterPos;
    const int bottom = client.bottom > top ? client.bottom : top + 1;

    if (!rightPanel_.CreatePanel(hwnd_, {x + kSplitterWidth, top, client.right, bottom})) return false;
    if (!PageFor(PAGE_BROWSER_HISTORY)) {
        ownedPages_.push_back(std::make_unique<CWindowProxy>());
        AddPage(PAGE_BROWSER_HISTORY, ownedPages_.back().get());
    }
    for (auto& [id, page] : MakeBrowserPages(settings_, cleaner_))
        if (!PageFor(id)) AddPage(id, ownedPages_.emplace_back(std::move(page)).get());
    for (auto& [id, page] : MakeOptionPages(settings_, cleaner_, this))
        if (!PageFor(id)) AddPage(id, ownedPages_.emplace_back(std::move(page)).get());
    for (auto& [id, page] : MakeHelpPages())
        if (!PageFor(id)) AddPage(id, ownedPages_.emplace_back(std::move(page)).get());

    if (!splitter_.Create(WS_CHILD | WS_VISIBLE, {x, top, x + kSplitterWidth, bottom}, hwnd_, IDC_SPLITTER,
                          MsgSplitterMoved))
        return false;
    if (!leftPanel_.CreatePanel(hwnd_, {0, top, x, bottom})) return false;
    leftPanel_.Initialise(settings_, this); // shows the What to Clear page
    return true;
}

bool CWindowMain::Initialise() {
    ProgramSettings& s = *settings_;
    s.LoadSettings();

    const OSVERSIONINFOEXA version = WindowsVersion();
    if (version.dwMajorVersion < 5) EnumChildWindows(GetDesktopWindow(), SlowTooltip, 0);

    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));
    if (!CreateChildren()) return false;
    RegisterStartupHotKeys(hwnd_, s);
    trayMenu_.Build(GetModuleHandleA(nullptr), kDisplayName);

    if (!s.invisibleMode) AddTrayIcon();
    SetHook(hwnd_, s.clearClipboardOnCtrlV ? TRUE : FALSE, s.clearClipboardOnShiftIns ? TRUE : FALSE);
    hookInstalled_ = true;

    if (!OnSomeScreen(s) || !IsShowCommand(s.windowShowCmd)) s.ApplyDefaultPlacement();
    // Hidden without a tray icon to bring it back is only right in invisible mode.
    if (s.windowShowCmd == SW_HIDE && !s.invisibleMode && !trayIconAdded_) s.windowShowCmd = SW_SHOWNORMAL;
    SetWindowPos(hwnd_, nullptr, s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (!s.invisibleMode) {
        const bool minimised = s.windowShowCmd == SW_SHOWMINIMIZED || s.windowShowCmd == SW_MINIMIZE ||
                               s.windowShowCmd == SW_SHOWMINNOACTIVE || s.windowShowCmd == SW_FORCEMINIMIZE;
        if (s.PasswordProtected() && s.windowShowCmd != SW_HIDE && !minimised) {
            ShowMainWindow(); // a protected window opens only to its password
        } else {
            ShowWindow(hwnd_, s.windowShowCmd);
            ++showCount_;
        }
        UpdateWindow(hwnd_);
    }
    // The first page came with the tree; the others are made once the window can be seen, as
    // making every dialog takes Wine a tenth of a second.
    if (!CreateRemainingPages()) return false;
    if (s.clearOnStart) ClearAll(ClearSilent, "start");
    StartScheduler();
    ScheduleIndexDatDeletion();
    if (s.clearOnBrowserClose) SetTimer(hwnd_, TimerBrowserWatch, 5000, nullptr);
    if (s.clearSkypeOnQuit) SetTimer(hwnd_, TimerSkypeWatch, 8000, nullptr);
    return true;
}

// ---------------------------------------------------------------- layout and pages

// Pages exist for the whole life of the window, hidden until chosen; a page that loads a library
// the idle program should not hold waits for its first choosing.
bool CWindowMain::CreateRemainingPages() {
    for (auto& [id, page] : pages_)
        if (!page->hwnd() && !page->CreatedOnFirstShow() && !page->CreatePage(rightPanel_.hwnd())) return false;
    return true;
}

void CWindowMain::Layout() {
    if (!toolbar_ || !leftPanel_.hwnd() || !splitter_.hwnd() || !rightPanel_.hwnd()) return;
    if (!IsWindowVisible(hwnd_) || IsIconic(hwnd_)) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int w = client.right;
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT tb;
    GetWindowRect(toolbar_, &tb);
    const int top = tb.bottom - tb.top;
    MoveWindow(toolbar_, 0, 0, w, top, TRUE);

    RECT bar;
    GetWindowRect(splitter_.hwnd(), &bar);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bar), 2);
    int x = bar.left;
    if (x > w - 6) x = w - 6;
    const int h = client.bottom - top > 0 ? client.bottom - top : 0;
    MoveWindow(leftPanel_.hwnd(), 0, top, x, h, TRUE);
    MoveWindow(splitter_.hwnd(), x, top, kSplitterWidth, h, TRUE);
    InvalidateRect(splitter_.hwnd(), nullptr, TRUE);
    MoveWindow(rightPanel_.hwnd(), x + kSplitterWidth, top, w - x - kSplitterWidth, h, TRUE);
    FitPage();
    SetSplitterRange();
}

void CWindowMain::FitPage() {
    CPage* page = currentPage();
    if (!page || !page->hwnd()) return;
    rightPanel_.FitPage(page->hwnd(), page->naturalHeight);
}

void CWindowMain::SetSplitterRange() {
    RECT client;
    GetClientRect(hwnd_, &client);
    const int upper = client.right - currentPreferredWidth_ - kSplitterWidth;
    splitter_.SetRange(190, upper > 5 ? upper : 5);
}

bool CWindowMain::LeavePageGuard() {
    CPage* page = currentPage();
    if (!page || !page->IsOptionPage() || !page->modified) return true;
    if (!AskQuestion(hwnd_, "Warning", "", "You didn't apply any changes. Do you want to reset them?",
                     IDI_BOX_QUESTION))
        return false;
    page->Reset();
    return true;
}

LRESULT CWindowMain::OnSelectPage(uint32_t id) {
    if (id == 0) return 0;
    if (!LeavePageGuard()) return 1;
    if (CPage* old = currentPage(); old && old->hwnd()) ShowWindow(old->hwnd(), SW_HIDE);
    currentPageId_ = id;
    if (CPage* page = currentPage(); page && !page->hwnd()) page->CreatePage(rightPanel_.hwnd());
    if (CPage* page = currentPage(); page && page->hwnd()) {
        ShowWindow(page->hwnd(), SW_SHOWNOACTIVATE);
        currentPreferredWidth_ = page->preferredWidth;
        currentPreferredHeight_ = page->preferredHeight;
    }
    Layout();
    FitPage();
    SetSplitterRange();
    return 0;
}

void CWindowMain::OnSplitterMoved(int distance) {
    RECT left, right;
    GetWindowRect(leftPanel_.hwnd(), &left);
    GetWindowRect(rightPanel_.hwnd(), &right);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&left), 2);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&right), 2);
    MoveWindow(leftPanel_.hwnd(), left.left, left.top, left.right - left.left + distance, left.bottom - left.top,
               TRUE);
    MoveWindow(rightPanel_.hwnd(), right.left + distance, right.top, right.right - right.left - distance,
               right.bottom - right.top, TRUE);
    FitPage();
}

void CWindowMain::CheckTreeButton(UINT command) {
    SendMessageA(toolbar_, TB_CHECKBUTTON, CmdTools, FALSE);
    SendMessageA(toolbar_, TB_CHECKBUTTON, CmdHelpTree, FALSE);
    SendMessageA(toolbar_, TB_CHECKBUTTON, command, TRUE);
}

void CWindowMain::ShowTree(TreeMode mode, UINT command) {
    if (!LeavePageGuard()) {
        CheckTreeButton(leftPanel_.mode() == TreeHelp ? CmdHelpTree : CmdTools);
        return;
    }
    CheckTreeButton(command);
    leftPanel_.Rebuild(mode);
}

void CWindowMain::ShowHelpPage(uint32_t page) {
    // The password before anything of the window, its leave-page question included.
    if (!ShowMainWindow()) return;
    if (!LeavePageGuard()) return;
    CheckTreeButton(CmdHelpTree);
    leftPanel_.Rebuild(TreeHelp);
    leftPanel_.SelectPage(page);
}

void CWindowMain::SelectMostOptions() {
    if (!LeavePageGuard()) return;
    static const uint32_t order[] = {PAGE_IE,      PAGE_FIREFOX, PAGE_SAFARI,        PAGE_OPERA,
                                     PAGE_MOZILLA, PAGE_NETSCAPE, PAGE_CHROME,       PAGE_EDGE,
                                     PAGE_BRAVE,   PAGE_VIVALDI, PAGE_WHAT_TO_CLEAR, PAGE_WINDOWS_HISTORY,
                                     PAGE_APPLICATION_HISTORY, PAGE_SETTINGS};
    bool any = false;
    for (uint32_t id : order)
        if (CPage* page = PageFor(id)) any = page->SelectMostOptions() || any;
    if (!any) return; // no page with options to select
    ShowMessage(hwnd_, kDisplayName, "",
                "Most options have been selected.\nNote: The 'Shredder' option and 'Clear Speed Dial' option for "
                "Opera are not selected by default.\nYou can select them manually if necessary.\n",
                IDI_BOX_MESSAGE);
}

// ---------------------------------------------------------------- timers

void CWindowMain::StartScheduler() {
    const ProgramSettings& s = *settings_;
    const long long period = (static_cast<long long>(s.clearEveryHours) * 60 + s.clearEveryMinutes) * 60000;
    if (s.clearEvery && period > 0 && period <= 0x7FFFFFFF) StartScheduler(static_cast<UINT>(period));
}

void CWindowMain::StartScheduler(UINT periodMs) {
    SetTimer(hwnd_, TimerScheduler, periodMs, nullptr); // replaces a running one
    schedulerRunning_ = true;
}

void CWindowMain::StopScheduler() {
    KillTimer(hwnd_, TimerScheduler);
    schedulerRunning_ = false;
}

void CWindowMain::RearmWatchTimer(UINT_PTR id, bool on, UINT period) {
    if (on)
        SetTimer(hwnd_, id, period, nullptr);
    else
        KillTimer(hwnd_, id);
}

// ---------------------------------------------------------------- clearing

void CWindowMain::Message(const std::string& caption, const std::string& text) {
    ShowMessage(hwnd_, caption.empty() ? kDisplayName : caption.c_str(), "", text.c_str(), IDI_BOX_MESSAGE);
}

void CWindowMain::ShowNotice(const char* caption, const char* text) {
    ShowMessage(hwnd_, caption, "", text, IDI_BOX_MESSAGE);
}

void CWindowMain::ConfirmCleared(const char* caption, const char* firstLine, std::shared_ptr<const RunRecord> record) {
    ConfirmWithReport(hwnd_, caption, firstLine, std::move(record), settings_->ReportsFolder());
}

bool CWindowMain::StartThreadedRun(const char* trigger) {
    return progress_.Start(hwnd_, ThreadedClearing(trigger, settings_->ReportsFolder()));
}

// The three synchronous clearings belong to the pages that hold their options; a window without
// them (tests with stand-in pages) runs the same groups itself.
std::shared_ptr<const RunRecord> CWindowMain::ClearSynchronously(const char* trigger) {
    return RecordedClearing(*cleaner_, trigger, false, settings_->ReportsFolder(), [&] {
        if (auto* page = dynamic_cast<CWindowSecurityHistory*>(PageFor(PAGE_WHAT_TO_CLEAR)))
            page->ClearSelectedBrowserItems();
        else
            ClearSelectedBrowserItems(*cleaner_, *settings_);
        if (auto* page = dynamic_cast<CWindowWindowsHistory*>(PageFor(PAGE_WINDOWS_HISTORY)))
            page->ClearSelected();
        else
            ClearSelectedWindowsHistory(*cleaner_, *settings_, hwnd_);
        if (auto* page = dynamic_cast<CWindowApplicationHistory*>(PageFor(PAGE_APPLICATION_HISTORY)))
            page->ClearSelected();
        else
            ClearSelectedApplicationHistory(*cleaner_, *settings_);
    });
}

// What is stored, or ticked on a cleaning page and not applied yet.
bool CWindowMain::AnythingSelected() const {
    if (AnyClearingOptionSelected(*settings_)) return true;
    for (uint32_t id : {PAGE_IE, PAGE_FIREFOX, PAGE_SAFARI, PAGE_OPERA, PAGE_MOZILLA, PAGE_NETSCAPE, PAGE_CHROME,
                        PAGE_EDGE, PAGE_BRAVE, PAGE_VIVALDI, PAGE_WINDOWS_HISTORY, PAGE_APPLICATION_HISTORY})
        if (auto* page = dynamic_cast<const COptionPage*>(PageFor(id)); page && page->hwnd() && page->AnyBoxChecked())
            return true;
    return false;
}

void CWindowMain::ScheduleIndexDatDeletion() {
    const ProgramSettings& s = *settings_;
    cleaner_->ScheduleIndexDatDeletion((s.historyMask & IEIndexDatAtStartup) != 0,
                                       (s.cacheMask & IEIndexDatAtStartup) != 0,
                                       (s.cookiesMask & IEIndexDatAtStartup) != 0);
}

// ---------------------------------------------------------------- dispatch

void CWindowMain::OnCommand(int id) {
    ProgramSettings& s = *settings_;
    switch (id) {
    case CmdClearHistory: ClearAll(s.confirmAfterClear ? ClearConfirm : ClearSilent); break;
    case CmdRearmBrowserWatch: RearmWatchTimer(TimerBrowserWatch, s.clearOnBrowserClose != 0, 5000); break;
    case CmdRearmSkypeWatch: RearmWatchTimer(TimerSkypeWatch, s.clearSkypeOnQuit != 0, 8000); break;
    case CmdCheckLatestVersion: ShowHelpPage(PAGE_CHECK_UPDATES); break;
    case CmdAbout: ShowHelpPage(PAGE_ABOUT); break;
    case CmdHelp: ShowHelpPage(PAGE_HELP); break;
    case CmdOpenMainWindow: ShowMainWindow(); break;
    case CmdTools: ShowTree(TreeOptions, CmdTools); break;
    case CmdHelpTree: ShowTree(TreeHelp, CmdHelpTree); break;
    case CmdClearAll:
        if (!s.exiting) ClearAll(s.confirmAfterClear ? ClearConfirm : ClearSilent);
        break;
    case CmdSelectMostOptions: SelectMostOptions(); break;
    case CmdSaveSettings:
        leftPanel_.SaveExpansionState();
        // A failed save has shown its own error; saying "saved" after it would be a lie.
        if (s.SaveSettings())
            ShowMessage(hwnd_, kDisplayName, "", "All settings have been saved.", IDI_BOX_MESSAGE);
        break;
    case CmdTrayExit:
    case CmdToolbarExit: OnExitCommand(); break;
    case CmdExitProgram: ExitProgram(); break;
    case IDOK:
    case IDCANCEL:
        // Enter and Escape come to this window (the message loop's dialog is the main window):
        // they belong to the page on show, which may act on them (the update page's abort).
        if (CPage* page = currentPage(); page && page->hwnd()) SendMessageA(page->hwnd(), WM_COMMAND, id, 0);
        break;
    default: break;
    }
}

void CWindowMain::OnTimer(UINT_PTR id) {
    switch (id) {
    case TimerScheduler: ClearAll(ClearSilent, "scheduler"); break;
    case TimerBrowserWatch: BrowserWatch(); break;
    case TimerSkypeWatch: SkypeWatch(); break;
    default: break;
    }
}

void CWindowMain::OnHotKey(int id) {
    switch (id) {
    case HotKeyIdMinimizeAll: MinimizeAllWindows(); break;
    case HotKeyIdCloseBrowsers: CloseAllBrowsers(); break;
    case HotKeyIdCloseAndClear:
        CloseAllBrowsers();
        Sleep(1000);
        [[fallthrough]];
    case HotKeyIdClearAll:
        if (!settings_->exiting) ClearAll(ClearSilent, "hot-key");
        break;
    case HotKeyIdHideBrowsers: HideAllBrowsers(); break;
    case HotKeyIdShowBrowsers: ShowHiddenBrowsers(); break;
    case HotKeyIdHelp: OnCommand(CmdHelp); break;
    default: break;
    }
}

LRESULT CWindowMain::OnToolbarCustomDraw(NMCUSTOMDRAW* draw) {
    if (draw->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
    if (draw->dwDrawStage == CDDS_POSTPAINT) {
        RECT r;
        GetClientRect(toolbar_, &r);
        r.bottom -= 2;
        DrawEdge(draw->hdc, &r, BDR_SUNKENOUTER, BF_RECT);
    }
    return CDRF_DODEFAULT;
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
    case MsgSelectPage:
        return OnSelectPage(static_cast<uint32_t>(wParam));
    case MsgFocusMoved:
        // A box tabbed to below the fold of a scrolled page comes into view.
        rightPanel_.ScrollIntoView(GetFocus());
        return 0;
    case MsgSplitterMoved:
        OnSplitterMoved(static_cast<int>(lParam));
        return 0;
    case MsgPromptClose:
        AnswerPromptClose(lParam, *this);
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = Default(message, wParam, lParam);
        if (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) Layout();
        return result;
    }
    case WM_GETMINMAXINFO: {
        if (!leftPanel_.hwnd() || !toolbar_) break;
        RECT nav, tb;
        GetWindowRect(leftPanel_.hwnd(), &nav);
        GetWindowRect(toolbar_, &tb);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = kMinPageWidth + (nav.right - nav.left) + 12;
        info->ptMinTrackSize.y = kMinPageHeight + (tb.bottom - tb.top);
        return 0;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == toolbar_ && header->code == NM_CUSTOMDRAW)
            return OnToolbarCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        break;
    }
    case WM_MEASUREITEM:
        if (trayMenu_.OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (trayMenu_.OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (LeavePageGuard()) ShowWindow(hwnd_, SW_HIDE);
            return 0;
        }
        // Restoring from the task bar (a click, its menu, Alt+Tab) comes here as well.
        if (((wParam & 0xFFF0) == SC_RESTORE || (wParam & 0xFFF0) == SC_MAXIMIZE) && Locked() && !AskPassword())
            return 0;
        break;
    case WM_ENDSESSION: {
        LRESULT result = Default(message, wParam, lParam);
        // FALSE: another program refused the shutdown and the session goes on, so does the program.
        if (wParam) ExitProgram();
        return result;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return Default(message, wParam, lParam);
}
