#pragma once
// The page contract: every page is a modeless child dialog of the right panel, created once and
// hidden until chosen. The main window reads its preferred size and, for option pages, whether it
// holds changes that were not applied.
#include "ui/framework/dialog.h"

class CPage : public CDialog {
public:
    CPage(int templateId, int width, int height)
        : CDialog(templateId), preferredWidth(width), preferredHeight(height) {}

    // Creates the page hidden inside `parent`.
    bool CreatePage(HWND parent);

    const int preferredWidth;
    const int preferredHeight;
    // The height its template gives it, in pixels, once created: a panel lower than that scrolls.
    int naturalHeight = 0;
    // Nonzero while the page holds check-box changes that were not applied (option pages only).
    int modified = 0;

    // Option pages (the ones with Apply/Reset) take part in the leave-page guard.
    virtual bool IsOptionPage() const { return false; }
    // Reloads the controls from the settings and clears `modified`.
    virtual void Reset() {}
    // Quick select: ticks the page's usual choices and applies them. False when the page has none.
    virtual bool SelectMostOptions() { return false; }
    // A page whose controls need a library that the idle program should not hold is created when
    // it is first chosen, not with the main window.
    virtual bool CreatedOnFirstShow() const { return false; }

protected:
    // Runs just before the page's window is made: registers the classes its template names.
    virtual void LoadControlClasses() {}
    // Enter and Escape inside a page do nothing: pages never close.
    void OnCommand(int id, int code) override;
};
