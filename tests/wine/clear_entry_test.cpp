// The clear entry without a window: a host that records what it is asked to do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clear_entry.h"
#include "app/messages.h"
#include "engine/clearing_lease.h"
#include "engine/clearing_run.h"

namespace {

struct RecordingHost : ClearEntry::Host {
    ProgramSettings& s;
    explicit RecordingHost(ProgramSettings& settings) : s(settings) {}
    std::vector<std::string> calls;
    std::vector<std::string> triggers; // of each clearing started
    bool startSucceeds = true;
    bool runOpen = false;
    int runActiveDuringClear = -1;
    // What the clearing on this thread records, and what the confirmation was given.
    std::shared_ptr<RunRecord> cleared = std::make_shared<RunRecord>();
    std::shared_ptr<const RunRecord> confirmed;

    void ShowNotice(const char*, const char* text) override { calls.push_back(std::string("notice: ") + text); }
    void ConfirmCleared(const char*, const char* firstLine, std::shared_ptr<const RunRecord> record) override {
        calls.push_back(std::string("confirm: ") + firstLine);
        confirmed = std::move(record);
    }
    void PromptCloseSelectedBrowsers() override { calls.push_back("prompt"); }
    bool StartThreadedRun(const char* trigger) override {
        calls.push_back("start");
        triggers.push_back(trigger);
        runOpen = startSucceeds;
        return startSucceeds;
    }
    bool ThreadedRunOpen() const override { return runOpen; }
    std::shared_ptr<const RunRecord> ClearSynchronously(const char* trigger) override {
        calls.push_back("clear");
        triggers.push_back(trigger);
        runActiveDuringClear = s.runActive;
        return cleared;
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
const char kDone[] = "confirm: All selected items have been deleted.";

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

TEST_F(ClearEntryTest, TheConfirmationTellsOfItemsLeftAndCarriesTheRecord) {
    s.clearStreams = 1;
    RecordItem held;
    held.action = ItemAction::Left;
    held.reason = LeftReason::Held;
    host.cleared->items = {RecordItem{}, held};
    entry.ClearAll(ClearConfirm);
    EXPECT_EQ(host.calls, (Calls{"prompt", "clear", "confirm: Not all selected items could be deleted."}));
    EXPECT_EQ(host.confirmed, host.cleared);
    // Everything removed: the first line the confirmation has always had.
    host.cleared->items.pop_back();
    host.calls.clear();
    entry.ClearAll(ClearConfirm);
    EXPECT_EQ(host.calls.back(), kDone);
}

TEST_F(ClearEntryTest, EachWayInNamesItselfToTheClearingItStarts) {
    s.clearStreams = 1;
    entry.ClearAll(ClearSilent, "hot-key");
    entry.ClearAll(ClearAndExit, "exit");
    entry.ClearAll(ClearConfirm);
    s.shredFiles = 1;
    entry.ClearAll(ClearSilent, "scheduler");
    EXPECT_EQ(host.triggers, (Calls{"hot-key", "exit", "clear-all", "scheduler"}));
}

TEST_F(ClearEntryTest, AClearingOfAnotherProcessIsNotConfirmedAsDone) {
    // The program's own record takes the session's lease, which a command line elsewhere holds.
    ProgramSettings& own = Settings();
    own.clearStreams = 1;
    RecordingHost ownHost{own};
    ClearEntry ownEntry{own, ownHost};
    HANDLE elsewhere = CreateSemaphoreA(nullptr, 1, 1, "Local\\ZephyrlanthorpeClearing");
    ASSERT_NE(elsewhere, nullptr);
    ASSERT_EQ(WaitForSingleObject(elsewhere, 0), WAIT_OBJECT_0);
    ownEntry.ClearAll(ClearConfirm);
    EXPECT_EQ(ownHost.calls, (Calls{"notice: Please wait until the clearing that is running has finished."}));
    ReleaseSemaphore(elsewhere, 1, nullptr);
    ownEntry.ClearAll(ClearConfirm);
    EXPECT_EQ(ownHost.calls.back(), kDone);
    EXPECT_EQ(own.runActive, 0);
    CloseHandle(elsewhere);
}
