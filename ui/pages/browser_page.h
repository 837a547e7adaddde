#pragma once
// What every browser page shares: its check boxes bound to the browser's options, Apply's
// follow-up for the index.dat deletion at start-up, and CLEAR (DELETE on Safari's page), which
// clears the page's browser at once from the stored settings, on this thread.
#include <span>

#include "ui/option_page.h"

class HistoryCleaner;

// A program that CLEAR asks to have closed first.
struct BrowserProgram {
    const char* executable;
    const char* name;
};

// A text of the page that says which profiles of its browsers were found, or `absent` when none.
struct FoundProfilesText {
    int controlId;
    uint32_t browsers; // page bits of the Chromium family
    const char* absent;
};

struct BrowserPageInfo {
    int templateId;
    int width, height;
    SettingBindings bindings;
    std::span<const BrowserProgram> programs;
    uint32_t browsers;               // the browser bits whose steps CLEAR runs
    bool asksAboutUnapplied = false; // CLEAR first offers to reset unapplied changes
    std::span<const FoundProfilesText> found = {}; // filled each time the page is shown
};

class CWindowBrowserPage : public COptionPage {
public:
    CWindowBrowserPage(const BrowserPageInfo& info, ProgramSettings* settings, HistoryCleaner* cleaner)
        : COptionPage(info.templateId, info.width, info.height, settings, info.bindings), info_(info),
          cleaner_(cleaner) {}

    // Asks, closes what the user lets close, clears, and says "Done" when confirmations are on.
    void ClearNow();

    // The found-profiles texts, looked for anew.
    void ShowFoundProfiles();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ApplyOwn() override;
    void OnOwnCommand(int id, int code) override;
    // The page's cleaners after its browser's steps (index.dat deletion, speed dial, purge).
    virtual void ClearExtras() {}
    // The check of a running program before CLEAR.
    virtual void AskToClose(const BrowserProgram& program);
    HistoryCleaner& cleaner() const { return *cleaner_; }

private:
    BrowserPageInfo info_;
    HistoryCleaner* cleaner_;
};
