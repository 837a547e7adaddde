#pragma once
// "What to Clear": the entry page of the options tree. Its two big buttons ask the main window for
// quick select and for clearing everything selected; its three choices are stored on the click.
#include "ui/option_page.h"

class HistoryCleaner;

class CWindowSecurityHistory : public COptionPage {
public:
    CWindowSecurityHistory(ProgramSettings* settings, HistoryCleaner* cleaner);
    bool SelectMostOptions() override;
    // Every selected browser trace, with no question: the browser group of a clearing on this thread.
    void ClearSelectedBrowserItems();

protected:
    void OnBoxClicked(int id) override;
    void OnOwnCommand(int id, int code) override;

private:
    void PostToMainWindow(UINT command) const;
    HistoryCleaner* cleaner_;
};
