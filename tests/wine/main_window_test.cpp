// The main window with its toolbar, navigation tree, splitter, page switching, tray icon and
// commands, created in this test process and driven by messages.
#include <gtest/gtest.h>

#include <atomic>

#include <windows.h>
#include <commctrl.h>

#include "app/main_app.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/settings_format.h"
#include "control/hot_keys.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/page_ids.h"

namespace {

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[128] = {};
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

LPARAM ItemData(HWND tree, HTREEITEM item) {
    TVITEMA tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.lParam;
}

} // namespace

TEST_F(MainWindowTest, StartsShowingWhatToClearWithTitleAndTray) {
    EXPECT_EQ(WindowText(main->hwnd()), "Zephyrlanthorpe");
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    EXPECT_TRUE(main->trayIconAdded());
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_WHAT_TO_CLEAR));
    EXPECT_TRUE(IsWindowVisible(whatToClear.hwnd()));
    EXPECT_FALSE(IsWindowVisible(ie.hwnd()));
    EXPECT_TRUE(Checked(CmdTools));
    EXPECT_FALSE(Checked(CmdHelpTree));
    EXPECT_EQ(GetDlgCtrlID(main->toolbar()), IDC_TOOLBAR);
    EXPECT_EQ(GetDlgCtrlID(tree()), IDC_NAV_TREE);
    EXPECT_EQ(SendMessageA(main->toolbar(), TB_BUTTONCOUNT, 0, 0), 9);
}

TEST_F(MainWindowTest, OptionsTreeItemsDataAndKeys) {
    auto& panel = main->leftPanel();
    // The four Internet Explorer family entries open one page; the map keeps the last of them.
    HTREEITEM ieItem = panel.ItemFor(PAGE_IE);
    ASSERT_NE(ieItem, nullptr);
    EXPECT_EQ(ItemText(tree(), ieItem), "Maxthon (MyIE2)");
    HTREEITEM browserHistory = panel.ItemFor(PAGE_WHAT_TO_CLEAR_2);
    ASSERT_NE(browserHistory, nullptr);
    EXPECT_EQ(ItemText(tree(), browserHistory), "Browser History");
    EXPECT_EQ(ItemData(tree(), browserHistory), PAGE_BROWSER_HISTORY);
    EXPECT_EQ(panel.ItemFor(PAGE_BROWSER_HISTORY), nullptr);
    std::vector<std::pair<std::string, LPARAM>> children;
    for (HTREEITEM c = TreeView_GetChild(tree(), browserHistory); c; c = TreeView_GetNextSibling(tree(), c))
        children.emplace_back(ItemText(tree(), c), ItemData(tree(), c));
    const std::vector<std::pair<std::string, LPARAM>> expected = {
        {"Internet Explorer", 360}, {"MSN Explorer", 360}, {"AOL Explorer", 360}, {"Maxthon (MyIE2)", 360},
        {"Mozilla Firefox", 361},   {"Safari", 362},       {"Opera", 363},        {"Google Chrome", 366},
        {"Microsoft Edge", 390},    {"Brave", 391},        {"Vivaldi", 392}};
    EXPECT_EQ(children, expected);
    std::vector<std::string> roots;
    for (HTREEITEM r = TreeView_GetRoot(tree()); r; r = TreeView_GetNextSibling(tree(), r))
        roots.push_back(ItemText(tree(), r));
    EXPECT_EQ(roots, (std::vector<std::string>{"What to Clear", "Settings", "Shredder option"}));

    // Choosing MSN Explorer shows the Internet Explorer page.
    HTREEITEM msn = TreeView_GetNextSibling(tree(), TreeView_GetChild(tree(), browserHistory));
    TreeView_SelectItem(tree(), msn);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_IE));
    EXPECT_TRUE(IsWindowVisible(ie.hwnd()));
    EXPECT_FALSE(IsWindowVisible(whatToClear.hwnd()));
    // A page that does not exist yet only becomes the current identifier.
    panel.SelectPage(PAGE_CHROME);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_CHROME));
    EXPECT_FALSE(IsWindowVisible(ie.hwnd()));
}

TEST_F(MainWindowTest, UnappliedChangesNoKeepsSelectionAndPageYesResetsAndSwitches) {
    const HTREEITEM start = Selected();
    whatToClear.modified = 1;
    {
        BoxRecorder boxes(false);
        main->leftPanel().SelectPage(PAGE_IE);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_TRUE(boxes.boxes[0].question);
        EXPECT_EQ(boxes.boxes[0].caption, "Warning");
        EXPECT_EQ(boxes.boxes[0].text, "You didn't apply any changes. Do you want to reset them?");
        EXPECT_EQ(boxes.boxes[0].icon, IDI_BOX_QUESTION);
    }
    EXPECT_EQ(Selected(), start);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_WHAT_TO_CLEAR));
    EXPECT_TRUE(IsWindowVisible(whatToClear.hwnd()));
    EXPECT_EQ(whatToClear.resets, 0);
    EXPECT_EQ(whatToClear.modified, 1);
    {
        BoxRecorder boxes(true);
        main->leftPanel().SelectPage(PAGE_IE);
        EXPECT_EQ(boxes.boxes.size(), 1u);
    }
    EXPECT_EQ(whatToClear.resets, 1);
    EXPECT_EQ(whatToClear.modified, 0);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_IE));
    EXPECT_EQ(Selected(), main->leftPanel().ItemFor(PAGE_IE));
}

TEST_F(MainWindowTest, HelpTreeSwitchRemembersCollapsedWhatToClear) {
    HTREEITEM whatToClearItem = main->leftPanel().ItemFor(PAGE_WHAT_TO_CLEAR);
    s.navigationTreeState = 0;
    main->leftPanel().SaveExpansionState();
    EXPECT_EQ(s.navigationTreeState & TreeStateWhatToClearExpanded, TreeStateWhatToClearExpanded);
    TreeView_Expand(tree(), whatToClearItem, TVE_COLLAPSE);
    Command(CmdHelpTree);
    EXPECT_TRUE(Checked(CmdHelpTree));
    EXPECT_FALSE(Checked(CmdTools));
    EXPECT_EQ(main->leftPanel().mode(), 1);
    EXPECT_EQ(s.navigationTreeState & TreeStateWhatToClearExpanded, 0);
    std::vector<std::pair<std::string, LPARAM>> help;
    for (HTREEITEM r = TreeView_GetRoot(tree()); r; r = TreeView_GetNextSibling(tree(), r))
        help.emplace_back(ItemText(tree(), r), ItemData(tree(), r));
    EXPECT_EQ(help, (std::vector<std::pair<std::string, LPARAM>>{{"About", 388}, {"Help", 385}, {"Check for updates", 389}}));
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_ABOUT));
    // In the help tree the state is left alone.
    s.navigationTreeState = 0x55;
    main->leftPanel().SaveExpansionState();
    EXPECT_EQ(s.navigationTreeState, 0x55);

    Command(CmdTools);
    EXPECT_TRUE(Checked(CmdTools));
    EXPECT_FALSE(Checked(CmdHelpTree));
    whatToClearItem = main->leftPanel().ItemFor(PAGE_WHAT_TO_CLEAR);
    EXPECT_TRUE(TreeView_GetItemState(tree(), whatToClearItem, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(TreeView_GetItemState(tree(), main->leftPanel().ItemFor(PAGE_WHAT_TO_CLEAR_2), TVIS_EXPANDED) &
                TVIS_EXPANDED);
}

TEST_F(MainWindowTest, TreeButtonGuardNoKeepsTheTree) {
    whatToClear.modified = 1;
    BoxRecorder boxes(false);
    Command(CmdHelpTree);
    EXPECT_EQ(main->leftPanel().mode(), 0);
    EXPECT_TRUE(Checked(CmdTools));
    EXPECT_FALSE(Checked(CmdHelpTree));
}

TEST_F(MainWindowTest, SplitterRangeFollowsThePreferredWidth) {
    SetWindowPos(main->hwnd(), nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages(50);
    RECT client;
    GetClientRect(main->hwnd(), &client);
    EXPECT_EQ(main->splitter().minPos, 190);
    EXPECT_EQ(main->splitter().maxPos, client.right - 480 - 3);
    main->leftPanel().SelectPage(PAGE_IE); // a wider page: 520
    EXPECT_EQ(main->splitter().maxPos, client.right - 520 - 3);
    main->leftPanel().SelectPage(PAGE_SAFARI); // wider than the window: the limit stays at 5
    EXPECT_EQ(main->splitter().maxPos, 5);
}

TEST_F(MainWindowTest, SplitterMovePushesBothPanels) {
    RECT leftBefore = WindowRect(main->leftPanel().hwnd()), rightBefore = WindowRect(main->rightPanel().hwnd());
    SendMessageA(main->hwnd(), MsgSplitterMoved, 0, 30);
    RECT leftAfter = WindowRect(main->leftPanel().hwnd()), rightAfter = WindowRect(main->rightPanel().hwnd());
    EXPECT_EQ(leftAfter.right - leftBefore.right, 30);
    EXPECT_EQ(rightAfter.left - rightBefore.left, 30);
    EXPECT_EQ(rightAfter.right, rightBefore.right);
    // The page fills the right panel.
    RECT page = WindowRect(whatToClear.hwnd()), panel = ClientRect(main->rightPanel().hwnd());
    EXPECT_EQ(page.right - page.left, panel.right);
}

TEST_F(MainWindowTest, APageTallerThanThePanelScrollsAndTheKeyboardBringsItsBoxesIntoView) {
    SetWindowPos(main->hwnd(), nullptr, 0, 0, 700, 480, SWP_NOMOVE | SWP_NOZORDER);
    main->leftPanel().SelectPage(PAGE_WINDOWS_HISTORY);
    CPage* page = main->PageFor(PAGE_WINDOWS_HISTORY);
    ASSERT_NE(page, nullptr);
    const HWND panel = main->rightPanel().hwnd();
    ASSERT_GT(page->naturalHeight, ClientRect(panel).bottom);
    EXPECT_TRUE(GetWindowLongA(panel, GWL_STYLE) & WS_VSCROLL);
    const HWND last = GetDlgItem(page->hwnd(), IDC_WIN_SHELLBAGS);
    auto inView = [&](HWND control) {
        RECT box = WindowRect(control);
        MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
        return box.top >= 0 && box.bottom <= ClientRect(panel).bottom;
    };
    EXPECT_FALSE(inView(last));
    // The whole page is there to scroll to, and the bar's end shows its last box.
    EXPECT_EQ(WindowRect(page->hwnd()).bottom - WindowRect(page->hwnd()).top, page->naturalHeight);
    SendMessageA(panel, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(inView(last));
    EXPECT_EQ(main->rightPanel().scrolled(), page->naturalHeight - ClientRect(panel).bottom);
    // The wheel goes from a box up to the panel.
    SendMessageA(GetDlgItem(page->hwnd(), IDC_WIN_TIMELINE), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 50), 0);
    EXPECT_EQ(main->rightPanel().scrolled(), 0);
    EXPECT_FALSE(inView(last));
    // A box the keyboard moves to comes into view.
    SetFocus(last);
    SendMessageA(main->hwnd(), MsgFocusMoved, 0, 0);
    EXPECT_TRUE(inView(last));
    // Another page starts at its top; back on this one too.
    main->leftPanel().SelectPage(PAGE_IE);
    main->leftPanel().SelectPage(PAGE_WINDOWS_HISTORY);
    EXPECT_EQ(main->rightPanel().scrolled(), 0);
    // A window tall enough has no bar.
    SetWindowPos(main->hwnd(), nullptr, 0, 0, 900, page->naturalHeight + 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(GetWindowLongA(panel, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(inView(last));
}

TEST_F(MainWindowTest, MinimumTrackingSize) {
    MINMAXINFO info = {};
    SendMessageA(main->hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const RECT nav = WindowRect(main->leftPanel().hwnd()), tb = WindowRect(main->toolbar());
    EXPECT_EQ(info.ptMinTrackSize.x, 460 + (nav.right - nav.left) + 12);
    EXPECT_EQ(info.ptMinTrackSize.y, 420 + (tb.bottom - tb.top));
}

TEST_F(MainWindowTest, CloseBoxHidesOnlyWhenThePageMayBeLeft) {
    whatToClear.modified = 1;
    {
        BoxRecorder boxes(false);
        SendMessageA(main->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(boxes.boxes.size(), 1u);
    }
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_WHAT_TO_CLEAR));
    {
        BoxRecorder boxes(true);
        SendMessageA(main->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_FALSE(IsWindowVisible(main->hwnd()));
    EXPECT_TRUE(IsWindow(main->hwnd())); // hidden, not destroyed
}

TEST_F(MainWindowTest, TrayDoubleClickWithWrongPasswordStaysHidden) {
    s.passwordEnabled = 1;
    s.SetPassword("pass");
    s.windowShowCmd = 1;
    ShowWindow(main->hwnd(), SW_HIDE);
    BoxRecorder boxes;
    Helper helper([&] {
        HWND dialog = WaitForWindow("Enter password");
        if (!dialog) return;
        SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("nope"));
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); // handled, its box recorded, on return
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    SendMessageA(main->hwnd(), MsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Wrong password.");
    EXPECT_FALSE(IsWindowVisible(main->hwnd()));
    EXPECT_EQ(s.windowShowCmd, 0);
}

TEST_F(MainWindowTest, AMinimisedProtectedWindowComesBackOnlyWithThePassword) {
    s.passwordEnabled = 1;
    s.SetPassword("pass");
    ShowWindow(main->hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main->hwnd()));
    BoxRecorder boxes;
    // Restoring it from the task bar, and the help hot key, which shows a page of it.
    for (auto [message, id] : {std::pair<UINT, WPARAM>{WM_SYSCOMMAND, SC_RESTORE}, {WM_HOTKEY, HotKeyIdHelp}}) {
        PasswordAnswer wrong("nope");
        SendMessageA(main->hwnd(), message, id, 0);
        EXPECT_TRUE(wrong.asked()) << message;
        EXPECT_TRUE(IsIconic(main->hwnd())) << message;
    }
    EXPECT_NE(main->currentPageId(), static_cast<uint32_t>(PAGE_HELP));
    {
        PasswordAnswer right("pass");
        SendMessageA(main->hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    EXPECT_FALSE(IsIconic(main->hwnd()));
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
}

TEST_F(MainWindowTest, TrayDoubleClickShowsUnprotectedWindow) {
    ShowWindow(main->hwnd(), SW_HIDE);
    SendMessageA(main->hwnd(), MsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    // Another icon's callback is not ours.
    ShowWindow(main->hwnd(), SW_HIDE);
    SendMessageA(main->hwnd(), MsgTrayCallback, kTrayIconId + 1, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(IsWindowVisible(main->hwnd()));
}

TEST_F(MainWindowTest, SaveCommandWritesSettingsAndSaysSo) {
    BoxRecorder boxes;
    Command(CmdSaveSettings);
    EXPECT_EQ(ReadFileBytes(folder / "settings.dat").size(), 179u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Zephyrlanthorpe");
    EXPECT_EQ(boxes.boxes[0].text, "All settings have been saved.");
}

TEST_F(MainWindowTest, AFailedSaveIsNotReportedAsSaved) {
    BoxRecorder boxes;
    s.dataFolder = folder / "gone\\deeper";
    Command(CmdSaveSettings);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 3");
}

TEST_F(MainWindowTest, ProtectionWithoutAStoredPasswordAsksNothing) {
    s.passwordEnabled = 1;
    s.password.clear();
    ShowWindow(main->hwnd(), SW_HIDE);
    std::atomic<bool> asked{false}, looked{false};
    Helper helper([&] {
        // A dialog would wait for an answer that no digest could ever accept.
        if (HWND dialog = WaitForWindow("Enter password", nullptr, 2000)) {
            asked = true;
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        looked = true;
    });
    SendMessageA(main->hwnd(), MsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    PumpUntil([&] { return looked.load(); }); // the search reads window titles from this thread
    EXPECT_FALSE(asked);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
}

TEST_F(MainWindowTest, HelpCommandsShowTheirPageInTheHelpTree) {
    ShowWindow(main->hwnd(), SW_HIDE);
    Command(CmdCheckLatestVersion);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    EXPECT_EQ(main->leftPanel().mode(), 1);
    EXPECT_TRUE(Checked(CmdHelpTree));
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_CHECK_UPDATES));
    Command(CmdHelp);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_HELP));
    Command(CmdAbout);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_ABOUT));
}

TEST_F(MainWindowTest, ExitCommandRunsTheExitPathOnce) {
    MoveWindow(main->hwnd(), 33, 44, 700, 500, TRUE);
    SendMessageA(main->hwnd(), MsgSplitterMoved, 0, 0);
    Command(CmdExitProgram);
    EXPECT_FALSE(IsWindow(main->hwnd()));
    EXPECT_EQ(s.exiting, 1);
    ProgramSettings stored;
    stored.dataFolder = folder.path();
    ASSERT_TRUE(stored.LoadSettings());
    EXPECT_EQ(stored.windowLeft, 33);
    EXPECT_EQ(stored.windowTop, 44);
    EXPECT_EQ(stored.windowWidth, 700);
    EXPECT_EQ(stored.windowShowCmd, SW_SHOWNORMAL);
    EXPECT_EQ(stored.splitterPos, 180);
    EXPECT_EQ(stored.navigationTreeState & TreeStateWhatToClearExpanded, TreeStateWhatToClearExpanded);
    // A second request does nothing: the file is not written again.
    DeleteFileA((folder / "settings.dat").c_str());
    main->ExitProgram();
    EXPECT_FALSE(PathExists(folder / "settings.dat"));
}

TEST_F(MainWindowTest, TrayMenuRecordsAndSizes) {
    const auto& items = main->trayMenu().items();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_TRUE(items[0]->header);
    EXPECT_EQ(items[0]->text, "Zephyrlanthorpe");
    std::vector<std::pair<UINT, int>> images;
    for (const auto& item : items)
        if (item->hasImage) images.emplace_back(item->id, item->imageId);
    EXPECT_EQ(images, (std::vector<std::pair<UINT, int>>{{306, 70}, {64, 71}, {300, 72}, {301, 73}, {80, 76}, {303, 75}}));
    EXPECT_EQ(GetMenuState(main->trayMenu().menu(), 0, MF_BYPOSITION) & MF_DISABLED, static_cast<UINT>(MF_DISABLED));

    for (const auto& item : items) {
        MEASUREITEMSTRUCT m = {};
        m.CtlType = ODT_MENU;
        m.itemData = reinterpret_cast<ULONG_PTR>(item.get());
        SendMessageA(main->hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
        EXPECT_EQ(m.itemHeight, item->separator ? 6u : item->header ? 25u : 20u) << item->text;
        EXPECT_GE(m.itemWidth, 145u) << item->text;
    }
}

TEST_F(MainWindowTest, RightClickOpensTheTrayMenu) {
    bool opened = false;
    Helper helper([&] {
        HWND menu = WaitForWindow("", "#32768", 5000);
        opened = menu != nullptr;
        PostMessageA(main->hwnd(), WM_CANCELMODE, 0, 0);
    });
    SendMessageA(main->hwnd(), MsgTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    EXPECT_TRUE(opened);
}

namespace {
struct SplitterOwner : CWnd {
    std::vector<int> moves;
    LRESULT OnMessage(UINT m, WPARAM w, LPARAM l) override {
        if (m == MsgSplitterMoved) moves.push_back(static_cast<int>(l));
        return Default(m, w, l);
    }
};

// Presses the mouse on the bar, moves it to `x` (bar coordinates) and lets go.
void Drag(HWND bar, int x) {
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    if (x != 1) SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), 10));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), 10));
}
} // namespace

TEST(Splitter, DragReportsTheDistanceWithinItsRange) {
    ASSERT_TRUE(CWnd::RegisterWindowClass("ZltSplitterOwner", GetModuleHandleA(nullptr), nullptr, 0,
                                          GetSysColorBrush(COLOR_3DFACE)));
    SplitterOwner owner;
    ASSERT_TRUE(owner.CreateEx({.className = "ZltSplitterOwner",
                                .title = "owner",
                                .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                .rect = {0, 0, 800, 400}}));
    CWindowSplitter bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, {200, 0, 203, 300}, owner.hwnd(), IDC_SPLITTER, MsgSplitterMoved));
    EXPECT_EQ(bar.orientation, 1);
    EXPECT_EQ(bar.minPos, 201); // both limits start at the bar's own centre
    EXPECT_EQ(bar.maxPos, 201);
    bar.SetRange(190, 400);

    Drag(bar.hwnd(), 1); // ends where it began
    ASSERT_EQ(owner.moves.size(), 1u);
    EXPECT_EQ(owner.moves[0], 0);
    EXPECT_EQ(bar.tracking, 0);

    Drag(bar.hwnd(), 51); // 50 pixels right
    ASSERT_EQ(owner.moves.size(), 2u);
    EXPECT_EQ(owner.moves[1], 50);
    RECT r = WindowRect(bar.hwnd());
    MapWindowPoints(nullptr, owner.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((r.left + r.right) / 2, 251); // the bar followed

    Drag(bar.hwnd(), 1000); // far right: stops at the upper limit
    ASSERT_EQ(owner.moves.size(), 3u);
    EXPECT_EQ(owner.moves[2], 400 - 251);
    Drag(bar.hwnd(), -400); // far left: stops at the lower limit
    ASSERT_EQ(owner.moves.size(), 4u);
    EXPECT_EQ(owner.moves[3], 190 - 400);
}

TEST_F(MainWindowTest, EscapeAndEnterReachThePageOnShow) {
    struct CommandCounter : StandInPage {
        using StandInPage::StandInPage;
        std::vector<int> ids;
        void OnOwnCommand(int id, int) override { ids.push_back(id); }
    };
    CommandCounter counter(480);
    ASSERT_TRUE(counter.CreatePage(main->rightPanel().hwnd()));
    main->AddPage(PAGE_SETTINGS, &counter);
    main->leftPanel().SelectPage(PAGE_SETTINGS);
    Command(IDCANCEL);
    Command(IDOK);
    EXPECT_EQ(counter.ids, (std::vector<int>{IDCANCEL, IDOK}));
    EXPECT_TRUE(IsWindow(counter.hwnd())); // pages never close
}
