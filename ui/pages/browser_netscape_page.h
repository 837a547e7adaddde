#pragma once
// The Netscape page: no tree entry leads to it; quick select and "Apply" reach it.
#include "ui/pages/browser_page.h"

class CWindowBrowserNetscape : public CWindowBrowserPage {
public:
    CWindowBrowserNetscape(ProgramSettings* settings, HistoryCleaner* cleaner);
};
