#pragma once
// The Chrome page. Its download box is hidden: no cleaner stands behind it.
#include "ui/pages/browser_page.h"

class CWindowBrowserChrome : public CWindowBrowserPage {
public:
    CWindowBrowserChrome(ProgramSettings* settings, HistoryCleaner* cleaner);
};
