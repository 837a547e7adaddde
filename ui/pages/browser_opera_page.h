#pragma once
// The Opera page, with the Speed Dial items, which quick select leaves alone.
#include "ui/pages/browser_page.h"

class CWindowBrowserOpera : public CWindowBrowserPage {
public:
    CWindowBrowserOpera(ProgramSettings* settings, HistoryCleaner* cleaner);

protected:
    void ClearExtras() override;
};
