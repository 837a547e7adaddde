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
#include "ui/page.h"

class COptionPage : public CPage {
public:
    COptionPage(int templateId, int width, int height, ProgramSettings* settings, SettingBindings bindings)
        : CPage(templateId, width, height), settings_(settings), bindings_(bindings) {}

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

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    // What the page holds beyond its bound boxes, loaded on Reset and written on Apply.
    virtual void LoadOwn() {}
    virtual void ApplyOwn() {}
    // Commands of the page's own controls; a bound box's click and Apply/Reset never reach it.
    virtual void OnOwnCommand(int /*id*/, int /*code*/) {}
    // A bound box was clicked (the page is already marked modified).
    virtual void OnBoxClicked(int /*id*/) {}

    ProgramSettings& settings() const { return *settings_; }
    SettingBindings bindings() const { return bindings_; }

private:
    void Load();
    void SetModified(bool on);
    const SettingBinding* BindingFor(int controlId) const;

    ProgramSettings* settings_;
    SettingBindings bindings_;
};
