#pragma once
// "Windows History": the history Windows keeps itself, and the page file's clearing at shutdown,
// which Apply writes into the system.
#include "ui/option_page.h"

class HistoryCleaner;

class CWindowWindowsHistory : public COptionPage {
public:
    CWindowWindowsHistory(ProgramSettings* settings, HistoryCleaner* cleaner);
    // CLEAR: asks first, and says "Done" when confirmations are on.
    void ClearNow();
    // The same cleaners without a question: the Windows group of a clearing on this thread.
    void ClearSelected();

protected:
    void ApplyOwn() override;
    void OnOwnCommand(int id, int code) override;

private:
    HistoryCleaner* cleaner_;
};
