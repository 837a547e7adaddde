#pragma once
// The Chrome page. Its download box is hidden: the download list goes with the history. Its boxes
// act on every profile of every Chrome channel and of Chromium; sessions and form data are boxes
// of options.ini below its own controls.
#include "ui/pages/browser_page.h"

class CWindowBrowserChrome : public CWindowBrowserPage {
public:
    CWindowBrowserChrome(ProgramSettings* settings, HistoryCleaner* cleaner);
};
