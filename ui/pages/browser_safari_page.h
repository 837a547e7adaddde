#pragma once
// The Safari page; its CLEAR button reads "DELETE".
#include "ui/pages/browser_page.h"

class CWindowBrowserSafari : public CWindowBrowserPage {
public:
    CWindowBrowserSafari(ProgramSettings* settings, HistoryCleaner* cleaner);
};
