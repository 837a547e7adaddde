#include "app/clear_entry.h"

#include "app/main_app.h"
#include "app/messages.h"
#include "engine/clearing_lease.h"

void ClearEntry::ClearAll(int mode, const char* trigger) {
    ProgramSettings& s = settings_;
    if (!host_.AnythingSelected()) {
        host_.ShowNotice("Warning", "Please select items you want to clear in 'What to clear' windows.");
        // The "Exit" that wanted to clear first ends here and the program goes on: no later run may
        // end it by itself. (A run already going keeps its own order to end the program.)
        if (mode == ClearAndExit && !s.runActive) s.exitAfterRun = 0;
        return;
    }
    if (s.shredFiles) {
        // The progress window of a run that has just ended may still be waiting for its last
        // message: that run is still active as far as a new one is concerned.
        if (!host_.ThreadedRunOpen()) {
            ClearingLease lease(s);
            if (lease) {
                s.stopRequested = 0;
                host_.PromptCloseSelectedBrowsers();
                if (host_.StartThreadedRun(trigger)) lease.HandOver();
            }
        }
        // A threaded run ends without the confirmation, and ends the program itself (command 2066)
        // when it was told to, even when it is over before this line.
        if (mode == ClearAndExit && !s.runActive && !host_.ThreadedRunOpen()) host_.ExitProgram();
        return;
    }
    std::shared_ptr<const RunRecord> record;
    if (ClearingLease lease(s); lease) {
        host_.PromptCloseSelectedBrowsers();
        record = host_.ClearSynchronously(trigger);
    }
    if (mode == ClearConfirm && !s.showShredProgress && !s.runActive) {
        // The lease can be held outside this process (a clearing from the command line): then
        // nothing was cleared here, and the confirmation must not say otherwise.
        if (!record)
            host_.ShowNotice(kDisplayName, "Please wait until the clearing that is running has finished.");
        else if (record->Totals().left == 0)
            host_.ConfirmCleared(kDisplayName, "All selected items have been deleted.", record);
        else
            host_.ConfirmCleared(kDisplayName, "Not all selected items could be deleted.", record);
    }
    if (mode == ClearAndExit && !s.runActive) host_.ExitProgram();
}
