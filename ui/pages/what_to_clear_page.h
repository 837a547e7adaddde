#pragma once
// "What to Clear": the entry page of the options tree. Its two big buttons ask the main window for
// quick select and for clearing everything selected; its three choices are stored on the click.
// Below them, "Preview" shows what clearing everything selected would do, changing nothing, and
// "Last report" shows the report of the last clearing or preview.
#include "ui/option_page.h"

class HistoryCleaner;

class CWindowSecurityHistory : public COptionPage {
public:
    CWindowSecurityHistory(ProgramSettings* settings, HistoryCleaner* cleaner);
    bool SelectMostOptions() override;
    // Every selected browser trace, with no question: the browser group of a clearing on this thread.
    void ClearSelectedBrowserItems();
    // The three groups of a clearing on this thread as a preview, then its report; nothing when
    // another clearing is going.
    void Preview();
    void ShowLastReport();

protected:
    void OnBoxClicked(int id) override;
    void OnOwnCommand(int id, int code) override;

private:
    void PostToMainWindow(UINT command) const;
    HistoryCleaner* cleaner_;
};
