#pragma once
// The pages of browsers built on Chromium that the program did not know before (Edge, Brave,
// Vivaldi): one template, the browser's name on its group, every box an option of options.ini in
// the page's section, and at the top the profiles found, or that the browser is not here.
#include "ui/pages/browser_page.h"

enum class ChromiumPage { Edge, Brave, Vivaldi };

class CWindowBrowserChromium : public CWindowBrowserPage {
public:
    CWindowBrowserChromium(ChromiumPage page, ProgramSettings* settings, HistoryCleaner* cleaner);

protected:
    BOOL OnInitDialog() override;

private:
    const char* groupText_;
};
