// The pages of the help tree: the about page, the help page with HTML Help inside it (zlt.chm lies
// beside this program), and their places in the main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

#include "app/main_app.h"
#include "app/messages.h"
#include "resources/resource_ids.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/html_help.h"
#include "ui/page_ids.h"
#include "ui/pages/about_page.h"
#include "ui/pages/help_page.h"

namespace {

// A visible top-level window to hold a page by itself.
struct PageHost {
    HWND window = CreateWindowExA(0, "STATIC", "Help pages test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                                  560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ~PageHost() { DestroyWindow(window); }
};

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

SIZE ClientSize(HWND window) {
    RECT r = ClientRect(window);
    return {r.right - r.left, r.bottom - r.top};
}

struct HelpPagesTest : ::testing::Test {
    static void SetUpTestSuite() { InitialiseLibraries(); }
};

} // namespace

TEST_F(HelpPagesTest, AboutPageTextLinkAndCursor) {
    PageHost host;
    CWindowHelpAbout about;
    ASSERT_TRUE(about.CreatePage(host.window));
    ShowWindow(about.hwnd(), SW_SHOW);
    EXPECT_EQ(WindowText(about.Item(IDC_ABOUT_NAME)), "Zephyrlanthorpe 7.5");
    EXPECT_EQ(WindowText(about.Item(IDC_ABOUT_LINK)), "http://www.quorvex.com/");
    EXPECT_TRUE(GetWindowLongA(about.Item(IDC_ABOUT_NAME), GWL_STYLE) & ES_READONLY);

    // The link's text is blue; the other statics keep the default colour.
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_NE(SendMessageA(about.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(about.Item(IDC_ABOUT_LINK))),
              0);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    SendMessageA(about.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(about.Item(IDC_ABOUT_NAME)));
    EXPECT_NE(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);

    // The hand over the link; elsewhere the page leaves the cursor to Windows.
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageA(about.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(about.Item(IDC_ABOUT_LINK)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_FALSE(SendMessageA(about.hwnd(), WM_SETCURSOR,
                              reinterpret_cast<WPARAM>(about.Item(IDC_ABOUT_NAME)),
                              MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));

    // A click on the link opens the vendor's page; Enter and Escape leave the page where it is.
    std::vector<std::string> opened;
    CWindowHelpAbout::SetUrlOpenerForTests([&](const char* url) { opened.push_back(url); });
    SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED),
                 reinterpret_cast<LPARAM>(about.Item(IDC_ABOUT_LINK)));
    SendMessageA(about.hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageA(about.hwnd(), WM_COMMAND, IDCANCEL, 0);
    CWindowHelpAbout::SetUrlOpenerForTests(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.quorvex.com/"}));
    EXPECT_TRUE(IsWindow(about.hwnd()));
}

TEST_F(HelpPagesTest, AboutPagePaintsTheLogoAtItsPlaceWithBlueTransparent) {
    HBITMAP logo = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LOGO),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(logo, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(logo, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 153);
    EXPECT_EQ(dib.dsBm.bmHeight, 165);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    HDC logoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(logoDc, logo);

    PageHost host;
    CWindowHelpAbout about;
    ASSERT_TRUE(about.CreatePage(host.window));
    MoveWindow(about.hwnd(), 0, 0, 460, 420, TRUE);
    ShowWindow(about.hwnd(), SW_SHOW);
    SetForegroundWindow(host.window);
    UpdateWindow(host.window);
    PumpMessages(200);
    RedrawWindow(about.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    HDC pageDc = GetDC(about.hwnd());
    const COLORREF background = GetPixel(pageDc, 5, 400); // beside everything, below the controls
    int opaque = 0, transparent = 0;
    for (int y = 0; y < 165; y += 4) {
        for (int x = 0; x < 153; x += 4) {
            const COLORREF want = GetPixel(logoDc, x, y);
            const COLORREF got = GetPixel(pageDc, 150 + x, 150 + y);
            if (want == RGB(0, 0, 255)) {
                ++transparent;
                EXPECT_EQ(got, background) << "at " << x << "," << y;
            } else {
                ++opaque;
                EXPECT_EQ(got, want) << "at " << x << "," << y;
            }
        }
    }
    ReleaseDC(about.hwnd(), pageDc);
    EXPECT_GT(opaque, 300);
    EXPECT_GT(transparent, 300);
    EXPECT_NE(background, RGB(0, 0, 255));
    SelectObject(logoDc, old);
    DeleteDC(logoDc);
    DeleteObject(logo);
}

TEST_F(HelpPagesTest, HtmlHelpComesOnlyFromTheSystemFolderAndIsLookedForOnce) {
    // A class of this test's own, in the throw-away prefix's registry.
    const char classKey[] = "CLSID\\{5E0B1C2D-3F4A-4B5C-8D6E-7F8091A2B3C4}\\InprocServer32";
    HKEY k;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CLASSES_ROOT, classKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    auto setPath = [&](const std::string& path) {
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    };

    // A registration that names a library outside the system folder (one that has an export 14)
    // is never loaded: the system's control comes instead. So does it for one whose library is gone.
    ASSERT_EQ(GetModuleHandleA("sqlite3.dll"), nullptr);
    for (const std::string& path : {ProgramFolder() + "sqlite3.dll", std::string("C:\\no such folder\\hhctrl.ocx")}) {
        setPath(path);
        HtmlHelpLibrary registered(classKey, "hhctrl.ocx");
        EXPECT_TRUE(registered.Available()) << path;
    }
    EXPECT_EQ(GetModuleHandleA("sqlite3.dll"), nullptr);

    // A library without HtmlHelpA: every call answers 0 and the library is looked for once only.
    HtmlHelpLibrary wrong("CLSID\\{00000000-0000-0000-0000-00000000ABCD}\\InprocServer32", "msimg32.dll");
    EXPECT_EQ(wrong.Call(nullptr, "zlt.chm", HH_DISPLAY_TOC, 0), nullptr);
    EXPECT_EQ(wrong.Call(nullptr, nullptr, HH_CLOSE_ALL, 0), nullptr);
    EXPECT_FALSE(wrong.Available());
    EXPECT_EQ(wrong.lookups(), 1);

    // Neither a registration nor a library of that name.
    HtmlHelpLibrary none("CLSID\\{00000000-0000-0000-0000-00000000ABCD}\\InprocServer32", "no-such-help.ocx");
    EXPECT_FALSE(none.Available());
    RegCloseKey(k);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey);
}

TEST_F(HelpPagesTest, WithoutTheHelpFileThePageStaysEmpty) {
    const std::string file = ProgramFolder() + "zlt.chm";
    const std::string away = ProgramFolder() + "zlt.chm.away";
    ASSERT_TRUE(PathExists(file));
    ASSERT_TRUE(MoveFileA(file.c_str(), away.c_str()));
    {
        PageHost host;
        CWindowHelp help;
        ASSERT_TRUE(help.CreatePage(host.window));
        ShowWindow(help.hwnd(), SW_SHOW);
        MoveWindow(help.hwnd(), 0, 0, 500, 400, TRUE);
        PumpMessages(100);
        EXPECT_FALSE(help.helpShown());
        EXPECT_EQ(help.helpWindow(), nullptr);
        EXPECT_EQ(GetWindow(help.hwnd(), GW_CHILD), nullptr);
    }
    ASSERT_TRUE(MoveFileA(away.c_str(), file.c_str()));
}

using HelpTreeTest = MainWindowTest;

TEST_F(HelpTreeTest, TrayCommandsShowEachHelpPageWithoutAsking) {
    for (uint32_t id : {PAGE_ABOUT, PAGE_HELP, PAGE_CHECK_UPDATES}) {
        CPage* page = main->PageFor(id);
        ASSERT_NE(page, nullptr) << id;
        EXPECT_FALSE(page->IsOptionPage());
        if (id == PAGE_CHECK_UPDATES) continue; // made when first chosen
        EXPECT_EQ(GetParent(page->hwnd()), main->rightPanel().hwnd());
        EXPECT_FALSE(IsWindowVisible(page->hwnd()));
    }
    // The rich edit's library is not loaded before the check page is wanted.
    EXPECT_EQ(main->PageFor(PAGE_CHECK_UPDATES)->hwnd(), nullptr);
    EXPECT_EQ(GetModuleHandleA("riched20.dll"), nullptr);
    EXPECT_EQ(main->PageFor(PAGE_ABOUT)->preferredWidth, 460);
    EXPECT_EQ(main->PageFor(PAGE_CHECK_UPDATES)->preferredWidth, 470);

    BoxRecorder boxes(true);
    ShowWindow(main->hwnd(), SW_HIDE);
    Command(CmdHelp);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    EXPECT_EQ(main->leftPanel().mode(), 1);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_HELP));
    EXPECT_TRUE(IsWindowVisible(main->PageFor(PAGE_HELP)->hwnd()));
    Command(CmdAbout);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_ABOUT));
    EXPECT_FALSE(IsWindowVisible(main->PageFor(PAGE_HELP)->hwnd()));
    Command(CmdCheckLatestVersion);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_CHECK_UPDATES));
    EXPECT_TRUE(IsWindowVisible(main->PageFor(PAGE_CHECK_UPDATES)->hwnd()));
    EXPECT_EQ(GetParent(main->PageFor(PAGE_CHECK_UPDATES)->hwnd()), main->rightPanel().hwnd());
    main->leftPanel().SelectPage(PAGE_HELP);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_HELP));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HelpTreeTest, HelpWindowIsAChildOfThePageAndFollowsTheWindowsSize) {
    auto* help = dynamic_cast<CWindowHelp*>(main->PageFor(PAGE_HELP));
    ASSERT_NE(help, nullptr);
    // HTML Help and its libraries come with the page's first showing, not with the program.
    EXPECT_FALSE(help->helpShown());
    Command(CmdHelp);
    PumpMessages(100);
    ASSERT_TRUE(help->helpShown());
    HWND window = help->helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), help->hwnd());
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    for (SIZE size : {SIZE{900, 700}, SIZE{1100, 640}, SIZE{980, 760}}) {
        SetWindowPos(main->hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
        PumpMessages(100);
        const SIZE page = ClientSize(help->hwnd());
        const SIZE panel = ClientSize(main->rightPanel().hwnd());
        EXPECT_EQ(page.cx, panel.cx);
        EXPECT_EQ(page.cy, panel.cy);
        RECT r = WindowRect(window);
        MapWindowPoints(nullptr, help->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right - r.left, page.cx) << size.cx << "x" << size.cy;
        EXPECT_EQ(r.bottom - r.top, page.cy) << size.cx << "x" << size.cy;
    }
    // The page goes with the main window, and its help window with it.
    DestroyWindow(main->hwnd());
    EXPECT_FALSE(IsWindow(window));
}
