#pragma once
// The tray icon's menu, drawn by the program: a band with the maker's name down its left side, a
// header with the program's name, and an image before each command.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CTrayMenu {
public:
    struct Item {
        std::string text;
        bool header = false;
        bool hasImage = false;
        int imageId = 0;
        UINT id = 0; // command, 0 for the header and separators
        bool separator = false;
    };

    ~CTrayMenu();
    // Loads the first submenu of menu resource 2 and makes every item owner-drawn.
    bool Build(HINSTANCE instance, const char* displayName);
    // Frees the menu and the item records.
    void Destroy();
    // Shows the menu at the cursor for `owner` (the main window).
    void Track(HWND owner, UINT flags);

    bool OnMeasureItem(MEASUREITEMSTRUCT* m);
    bool OnDrawItem(const DRAWITEMSTRUCT* d);

    HMENU menu() const { return popup_; }
    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }

private:
    int ItemHeight(const Item& item) const;
    int TopOf(const Item& item) const;
    void DrawBand(HDC dc, const RECT& itemRect, int itemTop) const;

    HMENU menu_ = nullptr, popup_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
    std::string displayName_;
    HINSTANCE instance_ = nullptr;
};
