#include "app/settings_binding.h"

bool SettingBinding::Read(const ProgramSettings& s) const {
    switch (kind) {
    case ByteFlag: return s.*byteFlag != 0;
    case DwordFlag: return s.*dwordFlag != 0;
    case MaskBit: return (s.*mask & bit) != 0;
    }
    return false;
}

void SettingBinding::Write(ProgramSettings& s, bool on) const {
    switch (kind) {
    case ByteFlag: s.*byteFlag = on ? 1 : 0; break;
    case DwordFlag: s.*dwordFlag = on ? 1 : 0; break;
    case MaskBit:
        if (on)
            s.*mask |= bit;
        else
            s.*mask &= ~bit;
        break;
    }
}
