// The clear entry without a window: a host that records what it is asked to do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clear_entry.h"
#include "app/messages.h"
#include "engine/clearing_run.h"

namespace {

struct RecordingHost : ClearEntry::Host {
    ProgramSettings& s;
    explicit RecordingHost(ProgramSettings& settings) : s(settings) {}
    std::vector<std::string> calls;
    bool startSucceeds = true;
    bool runOpen = false;
    int runActiveDuringClear = -1;

    void ShowNotice(const char*, const char* text) override { calls.push_back(std::string("notice: ") + text); }
    void PromptCloseSelectedBrowsers() override { calls.push_back("prompt"); }
    bool StartThreadedRun() override {
        calls.push_back("start");
        runOpen = startSucceeds;
        return startSucceeds;
    }
    bool ThreadedRunOpen() const override { return runOpen; }
    void ClearSynchronously() override {
        calls.push_back("clear");
        runActiveDuringClear = s.runActive;
    }
    void ExitProgram() override { calls.push_back("exit"); }
    bool AnythingSelected() const override { return AnyClearingOptionSelected(s); }
};

struct ClearEntryTest : ::testing::Test {
    ProgramSettings s;
    RecordingHost host{s};
    ClearEntry entry{s, host};
    using Calls = std::vector<std::string>;
};

const char kNothing[] = "notice: Please select items you want to clear in 'What to clear' windows.";
const char kDone[] = "notice: All selected items have been deleted.";

} // namespace

TEST_F(ClearEntryTest, NothingChosenOnlyWarnsAndDisarmsAnExit) {
    s.exitAfterRun = 1;
    entry.ClearAll(ClearAndExit);
    EXPECT_EQ(host.calls, (Calls{kNothing}));
    EXPECT_EQ(s.exitAfterRun, 0);
    EXPECT_EQ(s.runActive, 0);
    // Options that act without a step of their own count as chosen.
    s.clearSkypeOnQuit = 1;
    host.calls.clear();
    entry.ClearAll(ClearSilent);
    EXPECT_EQ(host.calls, (Calls{"prompt", "clear"}));
}

TEST_F(ClearEntryTest, WithoutShreddingClearsHereHoldingTheLeaseThenConfirmsOrExits) {
    s.clearStreams = 1;
    entry.ClearAll(ClearConfirm);
    EXPECT_EQ(host.calls, (Calls{"prompt", "clear", kDone}));
    EXPECT_EQ(host.runActiveDuringClear, 1);
    EXPECT_EQ(s.runActive, 0);
    host.calls.clear();
    entry.ClearAll(ClearAndExit);
    EXPECT_EQ(host.calls, (Calls{"prompt", "clear", "exit"}));
}

TEST_F(ClearEntryTest, WithShreddingStartsOneThreadedRunThatKeepsTheLease) {
    s.clearStreams = 1;
    s.shredFiles = 1;
    s.stopRequested = 1; // left by an earlier run
    entry.ClearAll(ClearConfirm);
    EXPECT_EQ(host.calls, (Calls{"prompt", "start"})); // no confirmation: the run ends later
    EXPECT_EQ(s.runActive, 1);                        // handed over to the run
    EXPECT_EQ(s.stopRequested, 0);
    // While it goes, nothing else starts, not even a clearing on this thread.
    host.calls.clear();
    entry.ClearAll(ClearSilent);
    s.shredFiles = 0;
    entry.ClearAll(ClearConfirm);
    entry.ClearAll(ClearAndExit);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ClearEntryTest, ARunThatCannotStartGivesTheLeaseBackAndAnExitGoesOn) {
    s.clearStreams = 1;
    s.shredFiles = 1;
    host.startSucceeds = false;
    entry.ClearAll(ClearAndExit);
    EXPECT_EQ(host.calls, (Calls{"prompt", "start", "exit"}));
    EXPECT_EQ(s.runActive, 0);
}

TEST_F(ClearEntryTest, TheWindowOfARunJustEndedStillCountsAsARun) {
    s.clearStreams = 1;
    s.shredFiles = 1;
    host.runOpen = true;
    entry.ClearAll(ClearAndExit);
    EXPECT_TRUE(host.calls.empty()); // the run's end exits, through its own command
    EXPECT_EQ(s.runActive, 0);
}
