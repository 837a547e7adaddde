#pragma once
// "Cookies to keep", below "What to Clear": on the left the sites that have cookies now, read from
// every store the cookie options clean; on the right the sites whose cookies and site data stay.
// A site moves across, is typed in or imported from a text file (one site per line). Apply writes
// options.ini at once and takes away the mark a damaged file left; until then no cookie store is
// touched. Made when first chosen: reading the stores needs libraries the idle program does not hold.
#include <functional>
#include <string>
#include <vector>

#include "engine/cookie_keep_list.h"
#include "ui/option_page.h"

class HistoryCleaner;

class CWindowCookiesToKeep : public COptionPage {
public:
    CWindowCookiesToKeep(ProgramSettings* settings, HistoryCleaner* cleaner);
    bool SelectMostOptions() override { return false; }
    bool CreatedOnFirstShow() const override { return true; }
    // A list that could not be read whole is shown as a change to apply: until it is applied, no
    // cookie store is touched.
    void Reset() override;

    // The file "Import..." reads; empty when the user cancelled. The open-file dialog by default.
    std::function<std::string(HWND owner)> chooseImportFile;
    // What the two lists show, in their order.
    std::vector<std::string> FoundSites() const;
    std::vector<std::string> KeptSites() const;

protected:
    BOOL OnInitDialog() override;
    void LoadOwn() override;
    void ApplyOwn() override;
    void OnOwnCommand(int id, int code) override;

private:
    void Refill();
    // Adds what parses; false (and a box) for anything else.
    bool AddTyped(const std::string& text);
    void MoveFoundAcross();
    void RemoveKept();
    void Import();

    HistoryCleaner* cleaner_;
    CookieKeepList keep_;
    std::vector<std::string> found_;
    bool damaged_ = false;
};
