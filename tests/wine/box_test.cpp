// The program's own message, question and password boxes, shown for real and answered from a helper
// thread.
#include <gtest/gtest.h>

#include <richedit.h>

#include <atomic>

#include "app/main_app.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/box_layout.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"

namespace {

struct Measured {
    RECT window{}, client{}, text{};
    LONG textStyle = 0;
    std::string caption;
    bool found = false;
};

// Shows a message box with `text` and measures it while it is open.
Measured MeasureMessageBox(const char* text) {
    Measured m;
    Helper helper([&] {
        HWND box = WaitForWindow("Measured");
        if (!box) return;
        m.found = true;
        m.window = WindowRect(box);
        m.client = ClientRect(box);
        HWND edit = GetDlgItem(box, IDC_BOX_TEXT);
        m.text = WindowRect(edit);
        m.textStyle = GetWindowLongA(edit, GWL_STYLE);
        m.caption = WindowText(edit);
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    ShowMessage(nullptr, "Measured", "", text, IDI_BOX_MESSAGE);
    return m;
}

int LineHeight() {
    HFONT font = CreateFontA(11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return tm.tmHeight + tm.tmExternalLeading;
}

class BoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitialiseLibraries(); }
};

} // namespace

TEST_F(BoxTest, OneLineIsCentredAndBoxSitsMidScreen) {
    const Measured m = MeasureMessageBox("All settings have been saved.");
    ASSERT_TRUE(m.found);
    EXPECT_TRUE(m.textStyle & ES_CENTER);
    EXPECT_EQ(m.caption, "All settings have been saved.");
    EXPECT_EQ(m.window.right - m.window.left, 300);
    const int lh = LineHeight();
    EXPECT_EQ(m.client.bottom, lh + 60);
    EXPECT_EQ(m.text.right - m.text.left, 265);
    EXPECT_EQ(m.text.bottom - m.text.top, lh);
    // Without a parent the box is centred on the work area.
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int middleX = (m.window.left + m.window.right) / 2, middleY = (m.window.top + m.window.bottom) / 2;
    EXPECT_NEAR(middleX, (area.left + area.right) / 2, 1);
    EXPECT_NEAR(middleY, (area.top + area.bottom) / 2, 1);
}

TEST_F(BoxTest, EachLineMakesTheBoxOneLineTaller) {
    const Measured one = MeasureMessageBox("One line");
    const Measured three = MeasureMessageBox("First line\nSecond line\nThird line");
    ASSERT_TRUE(one.found && three.found);
    const int lh = LineHeight();
    EXPECT_FALSE(three.textStyle & ES_CENTER); // several lines are left-aligned
    EXPECT_EQ(three.client.bottom - one.client.bottom, 2 * lh);
    EXPECT_EQ(three.text.bottom - three.text.top, 3 * lh);
    EXPECT_EQ(three.window.right - three.window.left, 300);
}

TEST_F(BoxTest, LongTextWrapsIntoSeveralLines) {
    const std::string text =
        "Most options have been selected.\nNote: The 'Shredder' option and 'Clear Speed Dial' option for Opera are "
        "not selected by default.\nYou can select them manually if necessary.\n";
    const Measured m = MeasureMessageBox(text.c_str());
    ASSERT_TRUE(m.found);
    EXPECT_GE(m.text.bottom - m.text.top, 4 * LineHeight());
}

TEST_F(BoxTest, QuestionAnswers) {
    struct Case {
        const char* how;
        bool expected;
    } cases[] = {{"yes", true}, {"no", false}, {"escape", false}, {"close", false}};
    for (const Case& c : cases) {
        Helper helper([&] {
            HWND box = WaitForWindow("Warning");
            if (!box) return;
            const std::string how = c.how;
            if (how == "yes")
                PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            else if (how == "no")
                PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
            else if (how == "escape")
                PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
            else
                PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(AskQuestion(nullptr, "Warning", "", "Do you want to cancel shredding?", IDI_BOX_QUESTION),
                  c.expected)
            << c.how;
    }
}

TEST_F(BoxTest, QuestionButtonsSitBelowTheText) {
    RECT yes{}, no{}, client{};
    HWND boxSeen = nullptr;
    Helper helper([&] {
        HWND box = WaitForWindow("Warning");
        if (!box) return;
        boxSeen = box;
        client = ClientRect(box);
        yes = WindowRect(GetDlgItem(box, IDOK));
        no = WindowRect(GetDlgItem(box, IDCANCEL));
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&yes), 2);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&no), 2);
        PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    });
    AskQuestion(nullptr, "Warning", "", "You didn't apply any changes. Do you want to reset them?", IDI_BOX_QUESTION);
    ASSERT_TRUE(boxSeen);
    const int h = client.bottom - 60;
    EXPECT_EQ(yes.left, 5);
    EXPECT_EQ(no.left, 190);
    EXPECT_EQ(yes.top, h + 35);
    EXPECT_EQ(no.top, h + 35);
    EXPECT_EQ(yes.right - yes.left, 100);
    EXPECT_EQ(no.bottom - no.top, 20);
}

// ---------------------------------------------------------------- password dialog

namespace {
struct PasswordTest : BoxTest {
    ProgramSettings s;
    void SetUp() override {
        s.SetPassword("Secret");
        s.passwordEnabled = 1;
    }
};

void Type(HWND dialog, const char* text) {
    SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
} // namespace

TEST_F(PasswordTest, EmptyThenWrongThenRightPassword) {
    BoxRecorder boxes;
    std::string keptAfterWrong;
    Helper helper([&] {
        HWND dialog = WaitForWindow("Enter password");
        if (!dialog) return;
        HWND ok = GetDlgItem(dialog, IDOK);
        // Sent, not posted: each click has been handled (its box recorded) when the call returns.
        SendMessageA(ok, BM_CLICK, 0, 0); // nothing typed
        Type(dialog, "secret");           // another letter case
        SendMessageA(ok, BM_CLICK, 0, 0);
        keptAfterWrong = WindowText(GetDlgItem(dialog, IDC_PASSWORD_EDIT));
        Type(dialog, "Secret");
        PostMessageA(ok, BM_CLICK, 0, 0);
    });
    CCheckPassword dialog(&s);
    EXPECT_EQ(dialog.Ask(nullptr), IDOK);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Please enter password.");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[1].text, "Wrong password.");
    EXPECT_EQ(keptAfterWrong, "secret");
    EXPECT_FALSE(passwordDialogOpen);
}

TEST_F(PasswordTest, CloseBoxCancels) {
    Helper helper([&] {
        HWND dialog = WaitForWindow("Enter password");
        if (dialog) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    CCheckPassword dialog(&s);
    EXPECT_EQ(dialog.Ask(nullptr), IDCANCEL);
    EXPECT_FALSE(passwordDialogOpen);
}

TEST_F(PasswordTest, ADialogEndedByAQuitMessageIsNoRightPassword) {
    PostQuitMessage(0); // a modal loop that meets it ends the dialog as if "Ok" had been pressed
    CCheckPassword dialog(&s);
    EXPECT_EQ(dialog.Ask(nullptr), IDCANCEL);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(PasswordTest, SecondDialogWhileOneIsOpenIsRefused) {
    struct Outer : CCheckPassword {
        using CCheckPassword::CCheckPassword;
        ProgramSettings* settings = nullptr;
        INT_PTR inner = -1;
        bool innerShown = false;
        LRESULT OnMessage(UINT m, WPARAM w, LPARAM l) override {
            if (m == WM_APP) {
                // A second request while this dialog is open: it must end cancelled, never shown.
                struct Second : CCheckPassword {
                    using CCheckPassword::CCheckPassword;
                    bool shown = false;
                    LRESULT OnMessage(UINT m2, WPARAM w2, LPARAM l2) override {
                        if (m2 == WM_SHOWWINDOW && w2) shown = true;
                        return CCheckPassword::OnMessage(m2, w2, l2);
                    }
                } second(settings);
                inner = second.Ask(hwnd_);
                innerShown = second.shown;
                return TRUE;
            }
            return CCheckPassword::OnMessage(m, w, l);
        }
    } outer(&s);
    outer.settings = &s;
    Helper helper([&] {
        HWND dialog = WaitForWindow("Enter password");
        if (!dialog) return;
        SendMessageA(dialog, WM_APP, 0, 0); // returns once the second request has been refused
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(outer.Ask(nullptr), IDCANCEL);
    EXPECT_EQ(outer.inner, IDCANCEL);
    EXPECT_FALSE(outer.innerShown);
    EXPECT_FALSE(passwordDialogOpen);
}
