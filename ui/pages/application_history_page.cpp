#include "ui/pages/application_history_page.h"

#include "app/messages.h"
#include "control/running_programs.h"
#include "engine/clearing_run.h"
#include "ui/pages/clear_now.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindFlag(IDC_APP_TOOLBAR, &ProgramSettings::clearToolbarHistory),
    BindFlag(IDC_APP_OFFICE, &ProgramSettings::clearOfficeHistory),
    BindFlag(IDC_APP_MEDIA_PLAYER, &ProgramSettings::clearMediaPlayerHistory),
    BindFlag(IDC_APP_GOOGLE_DESKTOP, &ProgramSettings::clearGoogleDesktopHistory),
    BindFlag(IDC_APP_SKYPE_CALLS, &ProgramSettings::deleteSkypeCalls),
    BindFlag(IDC_APP_SKYPE_CHATS, &ProgramSettings::deleteSkypeChats),
    BindFlag(IDC_APP_SKYPE_PURGE, &ProgramSettings::purgeSkypeDatabase),
    BindDwordFlag(IDC_APP_SKYPE_ON_QUIT, &ProgramSettings::clearSkypeOnQuit),
    BindFlag(IDC_APP_READER_RECENT, &ProgramSettings::clearAcrobatReaderRecent),
    BindFlag(IDC_APP_ACROBAT_RECENT, &ProgramSettings::clearAcrobatRecent),
    BindFlag(IDC_APP_ACROBAT_HISTORY, &ProgramSettings::clearAcrobatHistory),
    BindFlag(IDC_APP_ACROBAT_COLLECTIONS, &ProgramSettings::clearAcrobatCollections, false),
};

} // namespace

CWindowApplicationHistory::CWindowApplicationHistory(ProgramSettings* settings, HistoryCleaner* cleaner)
    : COptionPage(IDD_APPLICATION_HISTORY, 480, 440, settings, kBindings, {IDC_HISTORY_APPLY, IDC_HISTORY_RESET}),
      cleaner_(cleaner) {}

void CWindowApplicationHistory::ApplyOwn() {
    // The main window starts or stops its watch of Skype's quitting to match.
    PostMessageA(GetAncestor(hwnd_, GA_ROOT), WM_COMMAND, CmdRearmSkypeWatch, 0);
}

bool CWindowApplicationHistory::SelectMostOptions() {
    SelectAll();
    return true;
}

void CWindowApplicationHistory::OnOwnCommand(int id, int code) {
    if (id == IDC_APP_CLEAR_NOW && code == BN_CLICKED) ClearNow();
}

void CWindowApplicationHistory::AskToCloseBrowsers() { PromptCloseAllBrowsers(GetAncestor(hwnd_, GA_ROOT), settings()); }

void CWindowApplicationHistory::ClearSelected() { ClearSelectedApplicationHistory(*cleaner_, settings()); }

void CWindowApplicationHistory::ClearNow() {
    // The toolbars keep their history in the browsers, which must not be running meanwhile.
    if (settings().clearToolbarHistory) AskToCloseBrowsers();
    if (auto record = RunClearing(hwnd_, *cleaner_, settings(), [&] { ClearSelected(); }))
        SayDone(hwnd_, settings(), record);
}
