#pragma once
// Running browsers, Skype and Google Desktop, found through the top-level windows on the desktop
// and the executable behind each; and the prompts that ask the user to close them before a
// clearing. User-interface thread only: the prompts are modal boxes owned by `owner`.
#include <windows.h>

#include <functional>
#include <vector>

#include "app/settings.h"
#include "control/program_match.h"

// A fresh census of the visible top-level windows (titles and paths as the system gives them), or
// of all of them, visible or not (upper case).
WindowCensus TakeVisibleWindowCensus();
WindowCensus TakeAllWindowCensus();

// The processes of `executable` that this user's program may look at (another user's, or a
// protected one, are none of its business), whatever windows they have: a Toolhelp snapshot, each
// confirmed with the limited query.
std::vector<DWORD> ProcessesOf(const char* executable);

// Whether a window of `executable` exists. Nothing is ended here.
bool IsProgramRunning(const char* displayName, const char* executable, bool allWindows);

// Refreshes the ten browsers' running flags; returns Chrome's.
bool RecordBrowsersRunning();
bool BrowserRunningFlag(int browser);
// Refreshes the Skype flag (Skype or its plug-in manager has a window, hidden ones included).
void UpdateSkypeRunning();
bool SkypeRunningFlag();
bool IsSkypeRunning();

// The close prompt of one browser; does nothing while askCloseBrowsers is off. Each Yes closes one
// window of the browser and asks again while another is open. A browser built on Chromium that
// runs on with no window is asked about once more, and ended only on that Yes: its hidden windows
// are told to close, and what stays is terminated. AOL Explorer's companion program,
// left running without AOL Explorer's windows, is ended after a Yes (asked for when none was given).
void PromptCloseBrowser(HWND owner, const ProgramSettings& settings, const char* displayName, const char* executable);
// The prompt for each of the ten browsers in order.
void PromptCloseAllBrowsers(HWND owner, const ProgramSettings& settings);
// The prompts before Clear All: every browser when the toolbar history is to be cleared, otherwise
// the browsers of each browser page with a box ticked. `pageSelected(pageId)` reads a page's boxes.
void PromptCloseSelectedBrowsers(HWND owner, const ProgramSettings& settings,
                                 const std::function<bool(uint32_t pageId)>& pageSelected);
// True when the user keeps Skype (or Google Desktop) running: its history is then not cleared.
bool PromptCloseSkype(HWND owner);
bool PromptCloseGoogleDesktop(HWND owner);
