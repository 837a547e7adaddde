#pragma once
// The main window of the program, created in the test process with stand-in option pages and
// driven by messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/main_app.h"
#include "app/main_window.h"
#include "control/hot_keys.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/option_page.h"
#include "ui/page_ids.h"

// An option page without boxes that counts its resets.
struct StandInPage : COptionPage {
    StandInPage(int width) : COptionPage(IDD_BROWSER_HISTORY, width, 300, nullptr, {}) {}
    void Reset() override {
        ++resets;
        COptionPage::Reset();
    }
    int resets = 0;
};

struct MainWindowTest : ::testing::Test {
    static void SetUpTestSuite() { InitialiseLibraries(); }
    TempFolder folder;
    ProgramSettings s;
    std::unique_ptr<HistoryCleaner> cleaner;
    std::unique_ptr<CWindowMain> main;
    StandInPage whatToClear{480}, ie{520}, wide{5000};

    // Stand-in pages that take the place of the program's own, put in before the window starts.
    virtual void AddTestPages() {
        main->AddPage(PAGE_WHAT_TO_CLEAR, &whatToClear);
        main->AddPage(PAGE_IE, &ie);
        main->AddPage(PAGE_SAFARI, &wide);
    }
    // A test's own cleaner, made before the window.
    virtual std::unique_ptr<HistoryCleaner> MakeCleaner() { return std::make_unique<HistoryCleaner>(&s); }

    void SetUp() override {
        // The exit path of an earlier test ends with PostQuitMessage; left in the queue, it would
        // end this test's first modal loop at once.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        s.installFolder = folder.path();
        s.dataFolder = s.localDataFolder = folder.path();
        cleaner = MakeCleaner();
        main = std::make_unique<CWindowMain>(&s, cleaner.get());
        AddTestPages();
        ASSERT_TRUE(main->Create(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(main->Initialise());
        PumpMessages(100);
    }
    void TearDown() override {
        if (main && main->hwnd()) {
            UnregisterStartupHotKeys(main->hwnd());
            DestroyWindow(main->hwnd());
        }
        main.reset();
    }
    HWND tree() { return main->leftPanel().tree(); }
    HTREEITEM Selected() { return TreeView_GetSelection(tree()); }
    void Command(UINT id) { SendMessageA(main->hwnd(), WM_COMMAND, id, 0); }
    bool Checked(UINT id) { return SendMessageA(main->toolbar(), TB_ISBUTTONCHECKED, id, 0) != 0; }
};

