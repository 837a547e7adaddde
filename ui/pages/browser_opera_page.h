#pragma once
// The Opera page, with the Speed Dial items, which quick select leaves alone, and below its own
// controls today's Opera (and Opera GX), whose boxes are options of options.ini.
#include "ui/pages/browser_page.h"

class CWindowBrowserOpera : public CWindowBrowserPage {
public:
    CWindowBrowserOpera(ProgramSettings* settings, HistoryCleaner* cleaner);

protected:
    void ClearExtras() override;
};
