#pragma once
// The Mozilla page: no tree entry leads to it; quick select and "Apply" reach it.
#include "ui/pages/browser_page.h"

class CWindowBrowserMozilla : public CWindowBrowserPage {
public:
    CWindowBrowserMozilla(ProgramSettings* settings, HistoryCleaner* cleaner);
};
