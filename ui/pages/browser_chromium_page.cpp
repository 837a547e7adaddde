#include "ui/pages/browser_chromium_page.h"

#include "app/option_keys.h"
#include "resources/resource_ids.h"

namespace {

// Quick select leaves the passwords alone: they are no trace of browsing.
#define CHROMIUM_BINDINGS(section)                                                                    \
    {                                                                                                  \
        BindIniFlag(IDC_CHROMIUM_HISTORY, section, OptionKeys::kHistory),                              \
            BindIniFlag(IDC_CHROMIUM_CACHE, section, OptionKeys::kCache),                              \
            BindIniFlag(IDC_CHROMIUM_COOKIES, section, OptionKeys::kCookies),                          \
            BindIniFlag(IDC_CHROMIUM_PASSWORDS, section, OptionKeys::kPasswords, false),               \
            BindIniFlag(IDC_CHROMIUM_DOWNLOADS, section, OptionKeys::kDownloads),                      \
            BindIniFlag(IDC_CHROMIUM_SESSIONS, section, OptionKeys::kSessions),                        \
            BindIniFlag(IDC_CHROMIUM_FORM_DATA, section, OptionKeys::kFormData),                       \
    }
constexpr SettingBinding kEdgeBindings[] = CHROMIUM_BINDINGS(OptionKeys::kEdgePage);
constexpr SettingBinding kBraveBindings[] = CHROMIUM_BINDINGS(OptionKeys::kBravePage);
constexpr SettingBinding kVivaldiBindings[] = CHROMIUM_BINDINGS(OptionKeys::kVivaldiPage);
#undef CHROMIUM_BINDINGS

constexpr BrowserProgram kEdgePrograms[] = {{"msedge.exe", "Microsoft Edge"}};
constexpr BrowserProgram kBravePrograms[] = {{"brave.exe", "Brave"}};
constexpr BrowserProgram kVivaldiPrograms[] = {{"vivaldi.exe", "Vivaldi"}};

constexpr FoundProfilesText kEdgeFound[] = {{IDC_CHROMIUM_PROFILES, BrowserEdge, "Microsoft Edge is not on this computer."}};
constexpr FoundProfilesText kBraveFound[] = {{IDC_CHROMIUM_PROFILES, BrowserBrave, "Brave is not on this computer."}};
constexpr FoundProfilesText kVivaldiFound[] = {{IDC_CHROMIUM_PROFILES, BrowserVivaldi, "Vivaldi is not on this computer."}};

BrowserPageInfo InfoOf(ChromiumPage page) {
    switch (page) {
    case ChromiumPage::Edge:
        return {IDD_BROWSER_CHROMIUM, 480, 300, kEdgeBindings, kEdgePrograms, BrowserEdge, false, kEdgeFound};
    case ChromiumPage::Brave:
        return {IDD_BROWSER_CHROMIUM, 480, 300, kBraveBindings, kBravePrograms, BrowserBrave, false, kBraveFound};
    case ChromiumPage::Vivaldi: break;
    }
    return {IDD_BROWSER_CHROMIUM, 480, 300, kVivaldiBindings, kVivaldiPrograms, BrowserVivaldi, false, kVivaldiFound};
}

const char* GroupTextOf(ChromiumPage page) {
    switch (page) {
    case ChromiumPage::Edge: return "Microsoft Edge (every profile, also Beta, Dev and Canary)";
    case ChromiumPage::Brave: return "Brave (every profile)";
    case ChromiumPage::Vivaldi: break;
    }
    return "Vivaldi (every profile)";
}

} // namespace

CWindowBrowserChromium::CWindowBrowserChromium(ChromiumPage page, ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage(InfoOf(page), settings, cleaner), groupText_(GroupTextOf(page)) {}

BOOL CWindowBrowserChromium::OnInitDialog() {
    SetDlgItemTextA(hwnd_, IDC_CHROMIUM_GROUP, groupText_);
    return CWindowBrowserPage::OnInitDialog();
}
