#pragma once
// A check box of an option page stands for one option of the record (see SettingRef). Pages
// describe their boxes in a table of bindings, so that loading, applying, resetting and selecting
// are generic code. Portable: no Windows header.
#include <span>

#include "app/settings.h"

struct SettingBinding {
    int controlId;
    SettingRef setting;
    // Ticked by the page's quick select; the few boxes it leaves alone say false.
    bool quickSelect = true;

    bool Read(const ProgramSettings& s) const { return setting.Read(s); }
    void Write(ProgramSettings& s, bool on) const { setting.Write(s, on); }
};

constexpr SettingBinding BindFlag(int id, uint8_t ProgramSettings::*field, bool quickSelect = true) {
    return {id, Flag(field), quickSelect};
}
constexpr SettingBinding BindDwordFlag(int id, int32_t ProgramSettings::*field, bool quickSelect = true) {
    return {id, DwordFlag(field), quickSelect};
}
constexpr SettingBinding BindMaskBit(int id, uint32_t ProgramSettings::*mask, uint32_t bit, bool quickSelect = true) {
    return {id, MaskBit(mask, bit), quickSelect};
}
// A box whose option lives in options.ini, in the page's section.
constexpr SettingBinding BindIniFlag(int id, const char* section, const char* key, bool quickSelect = true,
                                     bool defaultOn = false) {
    return {id, IniFlag(section, key, defaultOn), quickSelect};
}

using SettingBindings = std::span<const SettingBinding>;
