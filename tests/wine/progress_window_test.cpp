// The shredding progress window with a stand-in worker started through the same path as a real run.
#include <gtest/gtest.h>

#include <atomic>

#include "app/main_app.h"
#include "app/messages.h"
#include "engine/run_gate.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"
#include "ui/progress_window.h"

namespace {

struct ProgressTest : ::testing::Test {
    static void SetUpTestSuite() { InitialiseLibraries(); }
    ProgramSettings s;
    CWindowProgressDelete window{&s, nullptr};
    std::atomic<long> steps{0};
    std::atomic<bool> release{false};

    // Counts steps, holding at the pause point before each, until stopped (and released).
    CDeleteThread::Work Worker() {
        return [this](CDeleteThread& t) {
            while (!(t.settings->stopRequested && release)) {
                Gate().WaitWhilePaused();
                if (!t.settings->stopRequested) ++steps;
                Sleep(1);
            }
            t.settings->runActive = 0;
            t.observer->RunFinished(false);
        };
    }
    void SetUp() override {
        s.ApplyDefaults();
        s.runActive = 1;
    }
    void TearDown() override {
        release = true;
        s.stopRequested = 1;
        PumpUntil([&] { return !window.running(); }, 5000);
    }
};

} // namespace

TEST_F(ProgressTest, CancelQuestionHoldsTheWorkerAndNoLetsItContinue) {
    s.showShredProgress = 1;
    ASSERT_TRUE(window.Start(nullptr, Worker()));
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    ASSERT_TRUE(PumpUntil([&] { return steps > 20; }));

    long atQuestion = -1, afterWaiting = -2;
    bool pausedDuringQuestion = false;
    {
        BoxRecorder boxes(false);
        SetBoxHookForTests([&](const BoxRequest& r) {
            boxes.boxes.push_back(r);
            // The worker finishes the step it is in and waits at the gate.
            for (int waited = 0; waited < 10000 && Gate().Waiting() == 0; waited += 5) Sleep(5);
            atQuestion = steps;
            Sleep(300); // and takes no step while the question is open
            afterWaiting = steps;
            pausedDuringQuestion = Gate().Paused() && Gate().Waiting() == 1;
            return false; // "No"
        });
        PostMessageA(window.hwnd(), WM_COMMAND, IDC_PROGRESS_CANCEL, 0);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.boxes.empty(); }));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Do you want to cancel shredding?");
        EXPECT_EQ(boxes.boxes[0].caption, "Warning");
        EXPECT_EQ(boxes.boxes[0].icon, IDI_BOX_QUESTION);
    }
    EXPECT_TRUE(pausedDuringQuestion);
    EXPECT_EQ(atQuestion, afterWaiting);
    EXPECT_EQ(s.stopRequested, 0);
    // "No": the worker goes on from where it was held.
    EXPECT_TRUE(PumpUntil([&] { return steps > afterWaiting + 20; }));
    EXPECT_FALSE(Gate().Paused());
}

TEST_F(ProgressTest, YesStopsTheRunAndASecondCancelAsksNothing) {
    ASSERT_TRUE(window.Start(nullptr, Worker()));
    EXPECT_FALSE(IsWindowVisible(window.hwnd())); // showShredProgress off: it runs hidden
    ASSERT_TRUE(PumpUntil([&] { return steps > 5; }));
    BoxRecorder boxes(true);
    PostMessageA(window.hwnd(), WM_COMMAND, IDC_PROGRESS_CANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.boxes.empty(); }));
    EXPECT_EQ(s.stopRequested, 1);
    EXPECT_EQ(window.thread()->done, 1);
    // Escape and the close box come the same way as "Cancel".
    PostMessageA(window.hwnd(), WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages(300);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    release = true;
    EXPECT_TRUE(PumpUntil([&] { return !window.running(); }));
    EXPECT_EQ(window.thread(), nullptr);
}

TEST_F(ProgressTest, ShowsTheFileBeingShreddedAndEndsOnRunFinished) {
    s.showShredProgress = 1;
    ASSERT_TRUE(window.Start(nullptr, Worker()));
    HWND file = GetDlgItem(window.hwnd(), IDC_PROGRESS_FILE);
    EXPECT_FALSE(IsWindowVisible(file));
    for (int id : {IDC_PROGRESS_STATIC1, IDC_PROGRESS_STATIC2, IDC_PROGRESS_STATIC3})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window.hwnd(), id)));
    s.SetCurrentFileText("C:\\users\\Temp\\a.tmp");
    PostMessageA(window.hwnd(), MsgShowCurrentFile, 0, 0);
    PumpMessages(200);
    EXPECT_TRUE(IsWindowVisible(file));
    EXPECT_EQ(WindowText(file), "C:\\users\\Temp\\a.tmp");

    s.stopRequested = 1;
    release = true;
    ASSERT_TRUE(PumpUntil([&] { return !window.running(); }));
    // The object is reused for the next run.
    s.stopRequested = 0;
    release = false;
    steps = 0;
    ASSERT_TRUE(window.Start(nullptr, Worker()));
    EXPECT_TRUE(PumpUntil([&] { return steps > 5; }));
}
