#include "ui/pages/browser_ie_page.h"

#include <algorithm>

#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kSmallestSize = 1, kLargestSize = 100;

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_IE_HISTORY, &ProgramSettings::historyMask, BrowserIE),
    BindFlag(IDC_IE_MOST_POPULAR, &ProgramSettings::clearMostPopularSites),
    BindMaskBit(IDC_IE_CACHE, &ProgramSettings::cacheMask, BrowserIE),
    BindMaskBit(IDC_IE_COOKIES, &ProgramSettings::cookiesMask, BrowserIE),
    BindMaskBit(IDC_IE_PASSWORDS, &ProgramSettings::passwordsMask, BrowserIE),
    BindMaskBit(IDC_IE_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserIE),
    BindFlag(IDC_IE_LAST_SESSION, &ProgramSettings::clearLastSession),
    BindMaskBit(IDC_IE_HISTORY_INDEX, &ProgramSettings::historyMask, IEIndexDatContent),
    BindMaskBit(IDC_IE_CACHE_INDEX, &ProgramSettings::cacheMask, IEIndexDatContent),
    BindMaskBit(IDC_IE_COOKIES_INDEX, &ProgramSettings::cookiesMask, IEIndexDatContent),
    BindFlag(IDC_IE_COMPAT_CACHE_INDEX, &ProgramSettings::deleteIECompatCacheIndex),
    BindFlag(IDC_IE_PRIVACIE_INDEX, &ProgramSettings::deletePrivacIEIndex),
    // Quick select leaves the deletion at Windows startup alone.
    BindMaskBit(IDC_IE_HISTORY_AT_START, &ProgramSettings::historyMask, IEIndexDatAtStartup, false),
    BindMaskBit(IDC_IE_CACHE_AT_START, &ProgramSettings::cacheMask, IEIndexDatAtStartup, false),
    BindMaskBit(IDC_IE_COOKIES_AT_START, &ProgramSettings::cookiesMask, IEIndexDatAtStartup, false),
};

constexpr BrowserProgram kPrograms[] = {
    {"iexplore.exe", "Internet Explorer"},
    {"msn6.exe", "MSN Explorer"},
    {"aexplore.exe", "AOL Explorer"},
    {"Maxthon.exe", "Maxthon2"},
};

} // namespace

CWindowBrowserIE::CWindowBrowserIE(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_IE, 520, 420, kBindings, kPrograms, BrowserIE | IEIndexDatContent, true},
                         settings, cleaner) {}

void CWindowBrowserIE::LoadOwn() {
    SetUpDown(IDC_IE_INDEX_SIZE_SPIN, kSmallestSize, kLargestSize, settings().maxIndexDatSizeMb);
    SetItemInt(IDC_IE_INDEX_SIZE, settings().maxIndexDatSizeMb);
}

void CWindowBrowserIE::ApplyOwn() {
    settings().maxIndexDatSizeMb = SizeInRange();
    SetItemInt(IDC_IE_INDEX_SIZE, settings().maxIndexDatSizeMb);
    CWindowBrowserPage::ApplyOwn();
}

int CWindowBrowserIE::SizeInRange() const {
    return std::clamp(ItemInt(IDC_IE_INDEX_SIZE), kSmallestSize, kLargestSize);
}

void CWindowBrowserIE::OnOwnCommand(int id, int code) {
    if (id == IDC_IE_INDEX_SIZE && code == EN_CHANGE) {
        if (ItemInt(IDC_IE_INDEX_SIZE) != settings().maxIndexDatSizeMb) MarkModified();
    } else if (id == IDC_IE_INDEX_SIZE && code == EN_KILLFOCUS) {
        const int typed = ItemInt(IDC_IE_INDEX_SIZE);
        const int size = SizeInRange();
        if (typed != size || ItemText(IDC_IE_INDEX_SIZE) != std::to_string(size)) {
            SetUpDown(IDC_IE_INDEX_SIZE_SPIN, kSmallestSize, kLargestSize, size);
            SetItemInt(IDC_IE_INDEX_SIZE, size);
        }
    } else {
        CWindowBrowserPage::OnOwnCommand(id, code);
    }
}

void CWindowBrowserIE::ClearExtras() {
    const ProgramSettings& s = settings();
    if (s.deleteIECompatCacheIndex || s.deletePrivacIEIndex) cleaner().DeleteIEIndexDatFiles();
    if (s.clearMostPopularSites) cleaner().ClearIEMostPopularSites();
    if (s.clearLastSession) cleaner().ClearIELastSession();
}
