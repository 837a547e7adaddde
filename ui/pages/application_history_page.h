#pragma once
// "Application History": toolbars, Office, Media Player, Google Desktop, Skype and Acrobat.
#include "ui/option_page.h"

class HistoryCleaner;

class CWindowApplicationHistory : public COptionPage {
public:
    CWindowApplicationHistory(ProgramSettings* settings, HistoryCleaner* cleaner);
    bool SelectMostOptions() override;
    // CLEAR: no question first; "Done" when confirmations are on.
    void ClearNow();
    // The same cleaners without the browsers' closing questions: the application group of a
    // clearing on this thread.
    void ClearSelected();

protected:
    void ApplyOwn() override;
    void OnOwnCommand(int id, int code) override;
    // The running browsers offered to be closed before the toolbars are cleaned.
    virtual void AskToCloseBrowsers();

private:
    HistoryCleaner* cleaner_;
};
