#pragma once
// Check boxes of a page <-> the settings fields their bindings name.
#include "app/settings_binding.h"
#include "ui/framework/wnd.h"

// Sets every bound check box from the settings.
void LoadCheckBoxes(CWnd& page, SettingBindings bindings, const ProgramSettings& s);
// Writes every bound check box's state into the settings.
void ApplyCheckBoxes(const CWnd& page, SettingBindings bindings, ProgramSettings& s);
// Ticks (or clears) every bound check box, without touching the settings.
void SetCheckBoxes(CWnd& page, SettingBindings bindings, bool on);
// True when any bound check box is ticked.
bool AnyCheckBoxSet(const CWnd& page, SettingBindings bindings);
