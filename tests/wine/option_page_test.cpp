// The base of every option page, through a stand-in page with three bound boxes: what the settings
// hold reaches the boxes, a click marks the page, Apply and Reset settle it, quick select ticks
// only what it should.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/main_app.h"
#include "resources/resource_ids.h"
#include "tests/wine/ui_support.h"
#include "ui/option_page.h"

namespace {

constexpr int kRunBox = 2001, kFirefoxBox = 2002, kWatchBox = 2003;

constexpr SettingBinding kBindings[] = {
    BindFlag(kRunBox, &ProgramSettings::clearRunHistory),
    BindMaskBit(kFirefoxBox, &ProgramSettings::historyMask, BrowserFirefox),
    BindDwordFlag(kWatchBox, &ProgramSettings::clearOnBrowserClose, false), // left alone by quick select
};

// The boxes and the two buttons are made here; a real page has them in its template.
struct StandInOptionPage : COptionPage {
    explicit StandInOptionPage(ProgramSettings* s) : COptionPage(IDD_BROWSER_HISTORY, 480, 300, s, kBindings) {}
    BOOL OnInitDialog() override {
        int y = 30;
        for (int id : {kRunBox, kFirefoxBox, kWatchBox}) Make("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, id, y += 20);
        Make("BUTTON", BS_PUSHBUTTON, IDC_APPLY, y += 30);
        Make("BUTTON", BS_PUSHBUTTON, IDC_RESET, y += 30);
        return COptionPage::OnInitDialog();
    }
    void ApplyOwn() override { ++ownApplied; }
    void Make(const char* cls, DWORD style, int id, int y) {
        CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 10, y, 150, 18, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }
    int ownApplied = 0;
};

struct OptionPage : ::testing::Test {
    static void SetUpTestSuite() { InitialiseLibraries(); }
    ProgramSettings s;
    HWND parent = nullptr;
    std::unique_ptr<StandInOptionPage> page;
    void SetUp() override {
        s.clearRunHistory = 1;
        s.historyMask = BrowserIE | IEIndexDatContent; // other bits of the same mask
        parent = CreateWindowExA(0, "STATIC", "pages", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                                 nullptr, nullptr, nullptr);
        page = std::make_unique<StandInOptionPage>(&s);
        ASSERT_TRUE(page->CreatePage(parent));
    }
    void TearDown() override {
        page.reset();
        DestroyWindow(parent);
    }
    bool Box(int id) { return page->IsChecked(id); }
    bool Enabled(int id) { return IsWindowEnabled(page->Item(id)) != FALSE; }
    void Click(int id) {
        SendMessageA(page->Item(id), BM_CLICK, 0, 0);
        PumpMessages(20);
    }
};

} // namespace

TEST_F(OptionPage, StartsFromTheSettingsUnmodified) {
    EXPECT_TRUE(Box(kRunBox));
    EXPECT_FALSE(Box(kFirefoxBox));
    EXPECT_FALSE(Box(kWatchBox));
    EXPECT_EQ(page->modified, 0);
    EXPECT_FALSE(Enabled(IDC_APPLY));
    EXPECT_FALSE(Enabled(IDC_RESET));
    EXPECT_TRUE(page->IsOptionPage());
}

TEST_F(OptionPage, AClickMarksThePageAndApplyWritesOnlyItsOwnBits) {
    Click(kFirefoxBox);
    EXPECT_EQ(page->modified, 1);
    EXPECT_TRUE(Enabled(IDC_APPLY));
    EXPECT_TRUE(Enabled(IDC_RESET));
    EXPECT_EQ(s.historyMask, BrowserIE | IEIndexDatContent); // nothing applied yet

    Click(kRunBox);
    Click(IDC_APPLY);
    EXPECT_EQ(s.historyMask, BrowserIE | IEIndexDatContent | BrowserFirefox);
    EXPECT_EQ(s.clearRunHistory, 0);
    EXPECT_EQ(page->ownApplied, 1);
    EXPECT_EQ(page->modified, 0);
    EXPECT_FALSE(Enabled(IDC_APPLY));
    EXPECT_FALSE(Enabled(IDC_RESET));
}

TEST_F(OptionPage, ResetGoesBackToWhatWasApplied) {
    Click(kRunBox);
    Click(kWatchBox);
    Click(IDC_RESET);
    EXPECT_TRUE(Box(kRunBox));
    EXPECT_FALSE(Box(kWatchBox));
    EXPECT_EQ(page->modified, 0);
    EXPECT_EQ(s.clearOnBrowserClose, 0);
    EXPECT_EQ(page->ownApplied, 0);
}

TEST_F(OptionPage, QuickSelectTicksOnlyItsBoxesAndAppliesThem) {
    s.clearRunHistory = 0;
    page->Reset();
    EXPECT_TRUE(page->SelectMostOptions());
    EXPECT_TRUE(Box(kRunBox));
    EXPECT_TRUE(Box(kFirefoxBox));
    EXPECT_FALSE(Box(kWatchBox));
    EXPECT_EQ(s.clearRunHistory, 1);
    EXPECT_EQ(s.historyMask & BrowserFirefox, BrowserFirefox);
    EXPECT_EQ(s.clearOnBrowserClose, 0);
    EXPECT_EQ(page->modified, 0);
    EXPECT_TRUE(page->AnyBoxChecked());
}

TEST_F(OptionPage, EnterAndEscapeDoNothing) {
    SendMessageA(page->hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageA(page->hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(page->hwnd()));
}
