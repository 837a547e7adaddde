#pragma once
// The Internet Explorer page (with MSN Explorer, AOL Explorer and Maxthon): the browser's traces,
// the index.dat files (content, deletion, deletion at Windows startup) and the largest index.dat
// whose content is cleared, in MB.
#include "ui/pages/browser_page.h"

class CWindowBrowserIE : public CWindowBrowserPage {
public:
    CWindowBrowserIE(ProgramSettings* settings, HistoryCleaner* cleaner);

protected:
    void LoadOwn() override;
    void ApplyOwn() override;
    void OnOwnCommand(int id, int code) override;
    void ClearExtras() override;

private:
    // The size box's number, 1 to 100; text that is no number reads as 0 and becomes 1.
    int SizeInRange() const;
};
