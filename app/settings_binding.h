#pragma once
// A check box of an option page stands for one settings field: a one-byte flag, a flag (dword), or
// one bit of a browser mask. Pages describe their boxes in a table of bindings, so that loading,
// applying, resetting and selecting are generic code. Portable: no Windows header.
#include <cstdint>
#include <span>

#include "app/settings.h"

struct SettingBinding {
    enum Kind { ByteFlag, DwordFlag, MaskBit };
    int controlId;
    Kind kind;
    uint8_t ProgramSettings::*byteFlag = nullptr;
    int32_t ProgramSettings::*dwordFlag = nullptr;
    uint32_t ProgramSettings::*mask = nullptr;
    uint32_t bit = 0;

    bool Read(const ProgramSettings& s) const;
    void Write(ProgramSettings& s, bool on) const;
};

constexpr SettingBinding BindFlag(int id, uint8_t ProgramSettings::*field) {
    return {id, SettingBinding::ByteFlag, field, nullptr, nullptr, 0};
}
constexpr SettingBinding BindDwordFlag(int id, int32_t ProgramSettings::*field) {
    return {id, SettingBinding::DwordFlag, nullptr, field, nullptr, 0};
}
constexpr SettingBinding BindMaskBit(int id, uint32_t ProgramSettings::*mask, uint32_t bit) {
    return {id, SettingBinding::MaskBit, nullptr, nullptr, mask, bit};
}

using SettingBindings = std::span<const SettingBinding>;
