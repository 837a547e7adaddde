#pragma once
// The Firefox page. "Delete Bookmarks " changes what the history cleaner removes, so it can only
// be chosen together with the history.
#include "ui/pages/browser_page.h"

class CWindowBrowserFirefox : public CWindowBrowserPage {
public:
    CWindowBrowserFirefox(ProgramSettings* settings, HistoryCleaner* cleaner);

protected:
    void LoadOwn() override;
    void ApplyOwn() override;
    void OnBoxClicked(int id) override;
    void ClearExtras() override;

private:
    // "Delete Bookmarks " enabled only while the history box is ticked, and off otherwise.
    void FollowHistoryBox();
};
