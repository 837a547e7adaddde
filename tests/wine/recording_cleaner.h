#pragma once
// A cleaner that records which cleaners are called, in order, instead of cleaning; a test can make
// one of them cancel the run or fail badly.
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/history_cleaner.h"

using Names = std::vector<std::string>;

class RecordingCleaner : public HistoryCleaner {
public:
    using HistoryCleaner::HistoryCleaner;
    Names calls;
    std::string stopAt;  // the cleaner during which the user cancels
    std::string throwAt; // the cleaner that fails badly
    bool skypeAnswer = true;
    HWND clipboardOwner = nullptr;

#define RECORD(name)                                                                                         \
    void name() override {                                                                                   \
        Note(#name);                                                                                         \
    }
    RECORD(EmptyRecycleBin)
    RECORD(ClearRecentDocuments)
    RECORD(EmptyRecentItems)
    RECORD(EmptyTempFolders)
    RECORD(ClearRunHistory)
    RECORD(ClearSearchFilesHistory)
    RECORD(ClearSearchComputersHistory)
    RECORD(ClearUserAssist)
    RECORD(ClearStreams)
    RECORD(ClearOpenSaveHistory)
    RECORD(ClearExplorerLists)
    RECORD(ClearThumbnailCaches)
    RECORD(ClearErrorReports)
    RECORD(ClearPowerShellHistory)
    RECORD(ClearClipboardHistory)
    RECORD(ClearTimeline)
    RECORD(ResetJumpLists)
    RECORD(ClearShellBags)
    RECORD(ClearIEHistory)
    RECORD(ClearIECache)
    RECORD(ClearIECookies)
    RECORD(ClearIEPasswords)
    RECORD(ClearIEDownloads)
    RECORD(ClearIEMostPopularSites)
    RECORD(ClearIELastSession)
    RECORD(ClearHistoryIndexDat)
    RECORD(ClearCacheIndexDat)
    RECORD(ClearCookiesIndexDat)
    RECORD(DeleteIEIndexDatFiles)
    RECORD(ClearFirefoxHistory)
    RECORD(ClearFirefoxCache)
    RECORD(ClearFirefoxCookies)
    RECORD(ClearFirefoxPasswords)
    RECORD(ClearFirefoxDownloads)
    RECORD(PurgeFirefoxHistoryDatabase)
    RECORD(ClearFirefoxSessions)
    RECORD(ClearFirefoxFormData)
    RECORD(ClearMozillaHistory)
    RECORD(ClearMozillaCache)
    RECORD(ClearMozillaCookies)
    RECORD(ClearMozillaPasswords)
    RECORD(ClearMozillaDownloads)
    RECORD(ClearNetscapeHistory)
    RECORD(ClearNetscapeCache)
    RECORD(ClearNetscapeCookies)
    RECORD(ClearNetscapePasswords)
    RECORD(ClearNetscapeDownloads)
    RECORD(ClearSafariHistory)
    RECORD(ClearSafariCache)
    RECORD(ClearSafariCookies)
    RECORD(ClearSafariPasswords)
    RECORD(ClearSafariDownloads)
    RECORD(ClearOperaHistory)
    RECORD(ClearOperaCache)
    RECORD(ClearOperaCookies)
    RECORD(ClearOperaPasswords)
    RECORD(ClearOperaDownloads)
    RECORD(ClearOperaSpeedDial)
    RECORD(ClearChromeHistory)
    RECORD(ClearChromeCache)
    RECORD(ClearChromeCookies)
    RECORD(ClearChromePasswords)
    RECORD(ClearChromeDownloads)
    RECORD(ClearChromeSessions)
    RECORD(ClearChromeFormData)
    RECORD(ClearEdgeHistory)
    RECORD(ClearEdgeCache)
    RECORD(ClearEdgeCookies)
    RECORD(ClearEdgePasswords)
    RECORD(ClearEdgeDownloads)
    RECORD(ClearEdgeSessions)
    RECORD(ClearEdgeFormData)
    RECORD(ClearBraveHistory)
    RECORD(ClearBraveCache)
    RECORD(ClearBraveCookies)
    RECORD(ClearBravePasswords)
    RECORD(ClearBraveDownloads)
    RECORD(ClearBraveSessions)
    RECORD(ClearBraveFormData)
    RECORD(ClearVivaldiHistory)
    RECORD(ClearVivaldiCache)
    RECORD(ClearVivaldiCookies)
    RECORD(ClearVivaldiPasswords)
    RECORD(ClearVivaldiDownloads)
    RECORD(ClearVivaldiSessions)
    RECORD(ClearVivaldiFormData)
    RECORD(ClearOperaTodayHistory)
    RECORD(ClearOperaTodayCache)
    RECORD(ClearOperaTodayCookies)
    RECORD(ClearOperaTodayPasswords)
    RECORD(ClearOperaTodayDownloads)
    RECORD(ClearOperaTodaySessions)
    RECORD(ClearOperaTodayFormData)
    RECORD(ClearToolbarHistory)
    RECORD(ClearOfficeHistory)
    RECORD(ClearMediaPlayerHistory)
    RECORD(ClearGoogleDesktopHistory)
    RECORD(ClearSkypeCalls)
    RECORD(ClearSkypeChats)
    RECORD(PurgeSkypeDatabase)
    RECORD(ClearAcrobatReaderRecentFiles)
    RECORD(ClearAdobeAcrobatRecentFiles)
    RECORD(ClearAcrobatDataFolder)
    RECORD(ClearAcrobatOrganizerHistory)
    RECORD(ClearAcrobatCollections)
#undef RECORD
    void ClearClipboard(HWND owner) override {
        clipboardOwner = owner;
        Note("ClearClipboard");
    }
    bool PromptCloseSkype() override {
        Note("PromptCloseSkype");
        return skypeAnswer;
    }

private:
    void Note(const char* name) {
        calls.push_back(name);
        if (stopAt == name) settings->stopRequested = 1;
        if (throwAt == name) throw std::runtime_error(name);
    }
};

