#include "app/settings.h"

#include <mutex>

namespace {
// The shredder sets the file name on the worker thread while the progress window reads it.
std::mutex currentFileLock;
} // namespace

ProgramSettings& Settings() {
    static ProgramSettings settings;
    return settings;
}

std::string ProgramSettings::SettingsPath() const { return installFolder + "\\settings.dat"; }

std::string ProgramSettings::KeptAsidePath() const { return SettingsPath() + ".bad"; }

void ProgramSettings::ClearRunFlags() {
    stopRequested = 0;
    runActive = 0;
    exitAfterRun = 0;
}

void ProgramSettings::RebuildShredMethods() { shredMethods.assign(1, BuiltInShredMethod()); }

void ProgramSettings::ApplyDefaults() {
    // Run-time fields that are not flags (installFolder, progressWindow, currentFileText) belong to
    // their owners and stay; so does `exiting`, which only the exit path sets.
    ProgramSettings& s = *this;
    ApplyDefaultPlacement();
    s.splitterPos = 180;
    s.startWithWindows = 1;
    s.invisibleMode = 0;
    s.passwordEnabled = 0;
    s.password.clear();
    s.clearOnExit = s.clearOnStart = s.clearClipboardOnCtrlV = s.clearClipboardOnShiftIns = 0;
    s.emptyRecycleBin = s.clearRecentDocuments = s.emptyRecentItems = s.clearClipboard = 0;
    s.emptyTempFolders = s.clearPageFileAtShutdown = s.clearToolbarHistory = 0;
    s.historyMask = s.bookmarksMask = s.cacheMask = s.cookiesMask = 0;
    s.passwordsMask = s.downloadsMask = s.purgeHistoryMask = 0;
    s.reserved1 = s.reserved2 = 0;
    s.clearRunHistory = s.clearSearchFilesHistory = s.clearSearchComputersHistory = 0;
    s.clearUserAssist = s.clearStreams = s.clearOpenSaveHistory = s.clearOfficeHistory = 0;
    s.clearMediaPlayerHistory = s.clearGoogleDesktopHistory = s.deleteSkypeCalls = 0;
    s.deleteSkypeChats = s.purgeSkypeDatabase = s.clearAcrobatReaderRecent = 0;
    s.clearAcrobatRecent = s.clearAcrobatHistory = s.clearAcrobatCollections = 0;
    s.deleteIECompatCacheIndex = s.deletePrivacIEIndex = s.clearMostPopularSites = s.clearLastSession = 0;
    s.shredFiles = s.showShredProgress = 0;
    s.navigationTreeState = 0;
    s.hotKeyClearAll = MakeHotKeyValue('C', HotKeyShift | HotKeyControl);
    s.hotKeyMinimizeAll = MakeHotKeyValue('M', HotKeyShift | HotKeyControl);
    s.hotKeyCloseBrowsers = MakeHotKeyValue('Q', HotKeyShift | HotKeyControl);
    s.hotKeyCloseAndClear = MakeHotKeyValue('E', HotKeyShift | HotKeyControl);
    s.hotKeyHideBrowsers = MakeHotKeyValue('H', HotKeyShift | HotKeyControl);
    s.hotKeyShowBrowsers = MakeHotKeyValue('S', HotKeyShift | HotKeyControl);
    s.maxIndexDatSizeMb = 10;
    s.clearOperaSpeedDial = 0;
    s.clearEvery = 0;
    s.clearEveryHours = 1;
    s.clearEveryMinutes = 0;
    s.askCloseBrowsers = 1;
    s.confirmAfterClear = 1;
    s.clearOnBrowserClose = 0;
    s.clearSkypeOnQuit = 0;
    ClearRunFlags();
    RebuildShredMethods();
}

void ProgramSettings::ApplyDefaultPlacement() {
    windowLeft = 20;
    windowTop = 20;
    windowWidth = 650;
    windowHeight = 450;
    windowShowCmd = 1;
}

void ProgramSettings::SetCurrentFileText(const std::string& text) {
    std::lock_guard<std::mutex> lock(currentFileLock);
    currentFileText = text;
}

std::string ProgramSettings::CurrentFileText() const {
    std::lock_guard<std::mutex> lock(currentFileLock);
    return currentFileText;
}
