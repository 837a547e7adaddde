// hook.dll: empties the clipboard shortly after the user pastes with the chosen keys.
//
// A low-level keyboard hook sees every key of the session without being loaded into other
// processes; it runs on the thread that installed it (the program's UI thread, which pumps
// messages). The paste itself happens in the target program after our hook returns, so the
// clipboard is emptied a moment later, from a thread timer.
#define ZLT_BUILDING_HOOK
#include "hook/hook.h"

#include "hook/paste_keys.h"

namespace {

constexpr UINT kClearDelayMs = 400;
constexpr int kMaxAttempts = 10; // the target may still hold the clipboard open

HHOOK hook = nullptr;
HWND owner = nullptr;
PasteKeys* keys = nullptr;
UINT_PTR timer = 0;
int attempts = 0;

void CALLBACK ClearClipboardLater(HWND, UINT, UINT_PTR, DWORD) {
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        CloseClipboard();
        attempts = kMaxAttempts;
    }
    if (++attempts >= kMaxAttempts) {
        KillTimer(nullptr, timer);
        timer = 0;
    }
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM lParam) {
    if (code == HC_ACTION && keys) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (keys->OnKey(key->vkCode, down)) {
            attempts = 0;
            if (timer) KillTimer(nullptr, timer);
            timer = SetTimer(nullptr, 0, kClearDelayMs, ClearClipboardLater);
        }
    }
    return CallNextHookEx(hook, code, message, lParam);
}

} // namespace

ZLT_HOOK_API void SetHook(HWND window, BOOL clearOnCtrlV, BOOL clearOnShiftIns) {
    UnHook();
    if (!clearOnCtrlV && !clearOnShiftIns) return; // nothing to watch
    owner = window;
    keys = new PasteKeys(clearOnCtrlV != FALSE, clearOnShiftIns != FALSE);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&KeyboardProc), &self);
    hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, self, 0);
}

ZLT_HOOK_API void UnHook() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    if (timer) KillTimer(nullptr, timer);
    timer = 0;
    delete keys;
    keys = nullptr;
    owner = nullptr;
}
