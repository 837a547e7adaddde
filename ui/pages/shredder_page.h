#pragma once
// "Shredder option": shredding on or off, and whether its progress is shown. Apply writes
// settings.dat at once; quick select leaves this page alone.
#include "ui/option_page.h"

class CWindowShredder : public COptionPage {
public:
    explicit CWindowShredder(ProgramSettings* settings);
    bool SelectMostOptions() override { return false; }

protected:
    void LoadOwn() override;
    void ApplyOwn() override;
    void OnBoxClicked(int id) override;
};
