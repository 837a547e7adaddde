#pragma once
// The clear entry: every request to clear all selected items comes here (toolbar, tray menu, hot
// keys, scheduler, clear on start, "Exit"). It warns when nothing is chosen, keeps to one clearing
// at a time, chooses between a threaded run (shredding on) and a clearing on this thread, and ends
// with the confirmation or the exit path. What it needs of the window around it is its Host, so
// that it can be run, and tested, without one.
#include <memory>

#include "app/settings.h"
#include "engine/run_record.h"

class ClearEntry {
public:
    class Host {
    public:
        virtual ~Host() = default;
        // The program's own message box with the message icon.
        virtual void ShowNotice(const char* caption, const char* text) = 0;
        // The confirmation after a clearing: `firstLine`, what the record says went and stayed, and
        // the offer to see its report.
        virtual void ConfirmCleared(const char* caption, const char* firstLine,
                                    std::shared_ptr<const RunRecord> record) = 0;
        // Asks to close the running browsers whose traces are about to be cleared.
        virtual void PromptCloseSelectedBrowsers() = 0;
        // Opens the progress window, which starts the threaded run recorded as started by
        // `trigger`; false when it could not.
        virtual bool StartThreadedRun(const char* trigger) = 0;
        // A threaded run's window is still open: its run is going, or has only just ended.
        virtual bool ThreadedRunOpen() const = 0;
        // Browsers, Windows history, applications, on this thread, as one recorded clearing.
        virtual std::shared_ptr<const RunRecord> ClearSynchronously(const char* trigger) = 0;
        // Whether anything is chosen to be cleared.
        virtual bool AnythingSelected() const = 0;
        virtual void ExitProgram() = 0;
    };

    ClearEntry(ProgramSettings& settings, Host& host) : settings_(settings), host_(host) {}
    // Modes: ClearSilent, ClearConfirm, ClearAndExit (app/messages.h). The trigger names what asked
    // for the clearing in its report: "clear-all", "hot-key", "scheduler", "start", "exit".
    void ClearAll(int mode, const char* trigger = "clear-all");

private:
    ProgramSettings& settings_;
    Host& host_;
};
