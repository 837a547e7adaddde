#include "ui/pages/windows_history_page.h"

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
};

} // namespace

CWindowWindowsHistory::CWindowWindowsHistory(ProgramSettings* settings, HistoryCleaner* cleaner)
    : COptionPage(IDD_WINDOWS_HISTORY, 510, 400, settings, kBindings, {IDC_HISTORY_APPLY, IDC_HISTORY_RESET}),
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
