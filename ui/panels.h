#pragma once
// The three children of the main window below its toolbar: the navigation panel with its tree, the
// splitter bar and the right panel that holds the pages.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_map>

#include "app/settings.h"
#include "ui/framework/wnd.h"
#include "ui/navigation_tree.h"

class CWindowMain;

class CWindowLeftPanel : public CWnd {
public:
    // Creates the panel as a child of `parent`; Initialise then fills the options tree.
    bool CreatePanel(HWND parent, const RECT& r);
    void Initialise(ProgramSettings* settings, CWindowMain* mainWindow);

    // Replaces the tree's contents with the options tree (0) or the help tree (1) and selects the
    // first entry, which shows its page.
    void Rebuild(TreeMode newMode);
    // Selects the entry kept under `key` (which shows its page); an unknown key changes nothing.
    void SelectPage(uint32_t key);
    // In the options tree: records which entries are expanded in navigationTreeState.
    void SaveExpansionState();

    HWND tree() const { return tree_; }
    TreeMode mode() const { return mode_; }
    HTREEITEM ItemFor(uint32_t key) const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND tree_ = nullptr;
    std::unordered_map<uint32_t, HTREEITEM> itemMap_;
    HTREEITEM whatToClear_ = nullptr, settingsItem_ = nullptr;
    ProgramSettings* settings_ = nullptr;
    CWindowMain* mainWindow_ = nullptr;
    TreeMode mode_ = TreeOptions;
};

// The parent of every page; the visible page covers it, so it never erases its background. A page
// taller than the panel scrolls in it.
class CWindowRightPanel : public CWnd {
public:
    bool CreatePanel(HWND parent, const RECT& r);
    // Sizes `page` to the panel's width and to the panel's height or its own `height`, whichever
    // is more, with a scroll bar for the rest. A page other than the last one starts at its top.
    void FitPage(HWND page, int height);
    // How far the page is scrolled down, in pixels.
    int scrolled() const { return scrolled_; }
    void ScrollTo(int position);
    // Scrolls the page so that `control`, one of its own, is in view.
    void ScrollIntoView(HWND control);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND page_ = nullptr;
    int pageHeight_ = 0;
    int scrolled_ = 0;
    int wheelRest_ = 0; // wheel turns smaller than a notch, kept for the next message
};
