#pragma once
// What the CLEAR buttons of the pages share: the question before, the lease around the cleaners
// (never beside another clearing), the record of what they did, and "Done" after.
#include <windows.h>

#include <functional>
#include <memory>

#include "app/settings.h"
#include "engine/run_record.h"

class HistoryCleaner;

// "Are you sure you want to clear select items?"; true for "Yes".
bool AskToClear(HWND page);
// Runs `clear` holding the clearing lease, as one clearing recorded as started by `trigger` (a
// report saved in the user's reports folder) or, with `preview`, as a preview that changes
// nothing. When another clearing holds the lease, says so and runs nothing. The record, or null
// when nothing ran.
std::shared_ptr<const RunRecord> RunClearing(HWND page, HistoryCleaner& cleaner, ProgramSettings& settings,
                                             const char* trigger, bool preview, const std::function<void()>& clear);
// A page's CLEAR: a clearing recorded as "page".
inline std::shared_ptr<const RunRecord> RunClearing(HWND page, HistoryCleaner& cleaner, ProgramSettings& settings,
                                                    const std::function<void()>& clear) {
    return RunClearing(page, cleaner, settings, "page", false, clear);
}
// "Done", what went and stayed, and the offer to see the report, when confirmations are on.
void SayDone(HWND page, const ProgramSettings& settings, std::shared_ptr<const RunRecord> record);
