#include "ui/pages/windows_history_page.h"

#include "app/option_keys.h"
#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "ui/pages/clear_now.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindFlag(IDC_WIN_PAGE_FILE, &ProgramSettings::clearPageFileAtShutdown),
    BindFlag(IDC_WIN_RECENT_DOCUMENTS, &ProgramSettings::clearRecentDocuments),
    BindFlag(IDC_WIN_RECENT_ITEMS, &ProgramSettings::emptyRecentItems),
    BindFlag(IDC_WIN_TEMP_FOLDERS, &ProgramSettings::emptyTempFolders),
    BindFlag(IDC_WIN_SEARCH_COMPUTERS, &ProgramSettings::clearSearchComputersHistory),
    BindFlag(IDC_WIN_SEARCH_FILES, &ProgramSettings::clearSearchFilesHistory),
    BindFlag(IDC_WIN_RUN_HISTORY, &ProgramSettings::clearRunHistory),
    BindFlag(IDC_WIN_RECYCLE_BIN, &ProgramSettings::emptyRecycleBin),
    BindFlag(IDC_WIN_CLIPBOARD, &ProgramSettings::clearClipboard),
    BindFlag(IDC_WIN_USER_ASSIST, &ProgramSettings::clearUserAssist),
    BindFlag(IDC_WIN_STREAMS, &ProgramSettings::clearStreams),
    BindFlag(IDC_WIN_OPEN_SAVE, &ProgramSettings::clearOpenSaveHistory),
    BindIniFlag(IDC_WIN_EXPLORER_LISTS, OptionKeys::kWindowsPage, OptionKeys::kExplorerLists),
    BindIniFlag(IDC_WIN_THUMBNAIL_CACHES, OptionKeys::kWindowsPage, OptionKeys::kThumbnailCaches),
    BindIniFlag(IDC_WIN_THUMBNAIL_CACHES_AT_START, OptionKeys::kWindowsPage, OptionKeys::kThumbnailCachesAtStart,
                false),
    BindIniFlag(IDC_WIN_ERROR_REPORTS, OptionKeys::kWindowsPage, OptionKeys::kErrorReports),
    BindIniFlag(IDC_WIN_POWERSHELL_HISTORY, OptionKeys::kWindowsPage, OptionKeys::kPowerShellHistory),
    BindIniFlag(IDC_WIN_CLIPBOARD_HISTORY, OptionKeys::kWindowsPage, OptionKeys::kClipboardHistory),
    BindIniFlag(IDC_WIN_TIMELINE, OptionKeys::kWindowsPage, OptionKeys::kTimeline),
    // Quick select never takes the user's pins or folder views.
    BindIniFlag(IDC_WIN_RESET_JUMP_LISTS, OptionKeys::kWindowsPage, OptionKeys::kResetJumpLists, false),
    BindIniFlag(IDC_WIN_SHELLBAGS, OptionKeys::kWindowsPage, OptionKeys::kShellBags, false),
};

} // namespace

CWindowWindowsHistory::CWindowWindowsHistory(ProgramSettings* settings, HistoryCleaner* cleaner)
    : COptionPage(IDD_WINDOWS_HISTORY, 510, 624, settings, kBindings, {IDC_HISTORY_APPLY, IDC_HISTORY_RESET}),
      cleaner_(cleaner) {}

void CWindowWindowsHistory::ApplyOwn() { cleaner_->WritePageFileSetting(settings().clearPageFileAtShutdown != 0); }

void CWindowWindowsHistory::OnOwnCommand(int id, int code) {
    if (id == IDC_WIN_CLEAR_NOW && code == BN_CLICKED) ClearNow();
}

void CWindowWindowsHistory::ClearSelected() { ClearSelectedWindowsHistory(*cleaner_, settings(), hwnd_); }

void CWindowWindowsHistory::ClearNow() {
    if (!AskToClear(hwnd_)) return;
    if (auto record = RunClearing(hwnd_, *cleaner_, settings(), [&] { ClearSelected(); }))
        SayDone(hwnd_, settings(), record);
}
