#pragma once
// The cleaning side of a clearing: the threaded run that CDeleteThread executes on its worker
// thread, and the three synchronous groups that the UI thread runs when shredding is off.
#include <windows.h>

#include "app/settings.h"
#include "engine/history_cleaner.h"

#include <string>
#include <vector>

// The threaded run, on the worker thread. Sets *done to 0, runs the selected cleaners in their
// fixed order (browsers, browser extras, applications, Windows history), waiting at the run gate
// and testing settings.stopRequested before each step, and ends by setting *done to 1,
// stopRequested to 1, giving the clearing lease back and reporting RunFinished to the cleaner's
// observer (with exitAfterRun). Catches everything: no exception leaves it. `done` may be null.
// The run is recorded as started by `trigger` and its report saved in `reportsFolder` (when not
// empty) before its end is reported, so that whoever hears of the end finds the report in place.
void RunClearingSteps(HistoryCleaner& cleaner, ProgramSettings& settings, volatile LONG* done,
                      const std::string& trigger = "clear-all", const std::string& reportsFolder = {});

// Every option that selects a cleaner in some clearing, the threaded run's and the synchronous
// groups' together.
std::vector<SettingRef> RunOptions();
// The options that act without a step of a clearing of their own: index.dat deletion at start-up,
// "Delete Bookmarks ", the page file, the browser and Skype watches.
std::vector<SettingRef> OptionsWithoutAStep();
// Whether anything is chosen to be cleared: a run option, or one of those.
bool AnyClearingOptionSelected(const ProgramSettings& settings);

// The run's browser steps (history, cache, cookies, passwords, downloads, with the index.dat
// content steps among them) of the browsers in `browsers` only, in run order: what a browser
// page's CLEAR runs.
void ClearBrowserSteps(HistoryCleaner& cleaner, const ProgramSettings& settings, uint32_t browsers);

// The synchronous groups (UI thread, no stop tests), in the order the clear entry runs them.
// Browsers: the run's browser steps, then index.dat deletion, the IE and Opera extras and the
// Firefox database purge (which the threaded run also ends its browser steps with).
void ClearSelectedBrowserItems(HistoryCleaner& cleaner, ProgramSettings& settings);
// Windows history; the clipboard is opened with `clipboardOwner` (the page's own window).
void ClearSelectedWindowsHistory(HistoryCleaner& cleaner, ProgramSettings& settings, HWND clipboardOwner);
// Application history; the Skype steps are skipped while exiting or when the user keeps Skype open.
void ClearSelectedApplicationHistory(HistoryCleaner& cleaner, ProgramSettings& settings);
