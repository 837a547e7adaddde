#pragma once
// An option page: its check boxes stand for options of the settings record through a table of
// bindings, so that loading, applying, resetting, quick select and the unapplied-changes flag are
// this class's code and not each page's. A page is its constructor, its table and only what is
// special about it (an edit box, a CLEAR button), added through LoadOwn, ApplyOwn and OnOwnCommand.
//
// The settings hold the applied state; between an Apply or Reset and the next one the boxes are
// the truth. Clicking a bound box marks the page modified, which enables Apply and Reset and makes
// the main window ask before the page is left.
#include "app/settings_binding.h"
#include "resources/resource_ids.h"
#include "ui/page.h"

class COptionPage : public CPage {
public:
    // The page's own Apply and Reset buttons, where they are not 928 and 930.
    struct Buttons {
        int apply, reset;
    };
    COptionPage(int templateId, int width, int height, ProgramSettings* settings, SettingBindings bindings,
                Buttons buttons = {IDC_APPLY, IDC_RESET})
        : CPage(templateId, width, height), settings_(settings), bindings_(bindings), buttons_(buttons) {}

    bool IsOptionPage() const override { return true; }
    // The boxes from the settings; not modified.
    void Reset() override;
    // The boxes into the settings, then the page's own values; not modified.
    virtual void Apply();
    // Ticks the boxes bound for quick select (the others stay as they are) and applies them.
    void SelectAll();
    bool SelectMostOptions() override {
        SelectAll();
        return true;
    }
    // A box changed: modified, with Apply and Reset enabled.
    void MarkModified();
    // Whether any bound box is ticked right now.
    bool AnyBoxChecked() const;
    SettingBindings bindings() const { return bindings_; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    // What the page holds beyond its bound boxes, loaded on Reset and written on Apply.
    virtual void LoadOwn() {}
    virtual void ApplyOwn() {}
    // Commands of the page's own controls; a bound box's click and Apply/Reset never reach it.
    virtual void OnOwnCommand(int /*id*/, int /*code*/) {}
    // A bound box was clicked: the page is marked modified, unless a page stores it at once.
    virtual void OnBoxClicked(int /*id*/) { MarkModified(); }
    // Writes one bound box into the settings.
    void StoreBox(int id);

    ProgramSettings& settings() const { return *settings_; }
    // Applied or reset: not modified, Apply and Reset disabled.
    void SetModified(bool on);

private:
    void Load();
    const SettingBinding* BindingFor(int controlId) const;

    ProgramSettings* settings_;
    SettingBindings bindings_;
    Buttons buttons_;
};
