#include "control/hot_keys.h"

#include "app/hot_key_value.h"

BOOL RegisterHotKeyValue(HWND window, int id, uint32_t value) {
    const UINT key = HotKeyVirtualKey(value);
    if (key == 0) return FALSE;
    return RegisterHotKey(window, id, HotKeyRegisterModifiers(value), key);
}

void RegisterStartupHotKeys(HWND window, const ProgramSettings& s) {
    RegisterHotKeyValue(window, HotKeyIdHelp, 0);
    RegisterHotKeyValue(window, HotKeyIdClearAll, s.hotKeyClearAll);
    RegisterHotKeyValue(window, HotKeyIdCloseAndClear, s.hotKeyCloseAndClear);
}

void UnregisterStartupHotKeys(HWND window) {
    UnregisterHotKey(window, HotKeyIdHelp);
    UnregisterHotKey(window, HotKeyIdClearAll);
    UnregisterHotKey(window, HotKeyIdCloseAndClear);
}

uint32_t RegisterHotKeyFor(HWND window, uint32_t value, int id) {
    UnregisterHotKey(window, id);
    RegisterHotKeyValue(window, id, value);
    return value;
}

void ApplyHotKeys(HWND window, const ProgramSettings& s) {
    const struct {
        int id;
        uint32_t value;
    } keys[] = {
        {HotKeyIdClearAll, s.hotKeyClearAll},         {HotKeyIdMinimizeAll, s.hotKeyMinimizeAll},
        {HotKeyIdCloseBrowsers, s.hotKeyCloseBrowsers}, {HotKeyIdCloseAndClear, s.hotKeyCloseAndClear},
        {HotKeyIdHideBrowsers, s.hotKeyHideBrowsers},   {HotKeyIdShowBrowsers, s.hotKeyShowBrowsers},
    };
    for (const auto& key : keys) RegisterHotKeyFor(window, key.value, key.id);
}
