#pragma once
// "Help": the program's compiled help shown inside the page. HTML Help creates its three-pane window
// as a child of the page when the page is created, and the page keeps it at its own size.
#include <string>

#include "ui/page.h"

class CWindowHelp : public CPage {
public:
    CWindowHelp();

    // The help window inside the page, or null when there is none (no help file or no HTML Help).
    HWND helpWindow() const;
    bool helpShown() const { return helpShown_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct HelpWindows {
        HWND help = nullptr, html = nullptr, navigation = nullptr, toolbar = nullptr;
    };
    // The help window type as HTML Help has it now; false when it cannot be had or its windows are
    // not (or no longer) this page's.
    bool QueryHelpWindows(HelpWindows& windows) const;
    static void Redraw(const HelpWindows& windows);

    // "zlt.chm" in the program's folder, and the same with the window type's name.
    std::string helpFile_, helpWindowName_;
    bool helpShown_ = false;
    bool helpOpened_ = false; // asked HTML Help for its window, whatever the answer
    void OpenHelpWindow();
};
