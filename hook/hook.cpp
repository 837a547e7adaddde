// hook.dll: empties the clipboard shortly after the user pastes with the chosen keys.
//
// A low-level keyboard hook sees every key of the session without being loaded into other
// processes. Windows calls it on the thread that installed it, and every keystroke of the session
// waits for that call: so the hook gets a thread of its own with its own message loop. On the
// program's UI thread, which sleeps for a hot key and runs whole clearings, typing would stall
// everywhere, and Windows 7 and later silently remove a hook that keeps them waiting. The paste
// itself happens in the target program after our hook returns, so the clipboard is emptied a
// moment later, from a timer of the same thread.
#define ZLT_BUILDING_HOOK
#include "hook/hook.h"

#include "hook/paste_keys.h"

namespace {

constexpr UINT kClearDelayMs = 400;
constexpr int kMaxAttempts = 10; // the target may still hold the clipboard open
constexpr DWORD kThreadWaitMs = 5000;

// Written by SetHook and UnHook while the hook thread is not running; used only by that thread
// while it runs.
HWND owner = nullptr;
PasteKeys* keys = nullptr;
HHOOK hook = nullptr;
UINT_PTR timer = 0;
int attempts = 0;

HANDLE thread = nullptr;
DWORD threadId = 0;

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

bool Held(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM lParam) {
    if (code == HC_ACTION && keys) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        // The keyboard's own state as this key goes down (a low-level hook runs before the key
        // itself is counted, but after every key before it).
        HeldModifiers held;
        if (down && (key->vkCode == 'V' || key->vkCode == VK_INSERT)) {
            held.control = Held(VK_CONTROL);
            held.shift = Held(VK_SHIFT);
            held.alt = Held(VK_MENU) || (key->flags & LLKHF_ALTDOWN) != 0;
        }
        if (keys->IsPaste(key->vkCode, down, held)) {
            attempts = 0;
            if (timer) KillTimer(nullptr, timer);
            timer = SetTimer(nullptr, 0, kClearDelayMs, ClearClipboardLater);
        }
    }
    return CallNextHookEx(hook, code, message, lParam);
}

DWORD WINAPI HookThread(void* ready) {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the queue exists before UnHook can post
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&KeyboardProc), &self);
    hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, self, 0);
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg); // delivers the timer
    if (timer) KillTimer(nullptr, timer);
    timer = 0;
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    return 0;
}

} // namespace

ZLT_HOOK_API void SetHook(HWND window, BOOL clearOnCtrlV, BOOL clearOnShiftIns) {
    UnHook();
    if (!clearOnCtrlV && !clearOnShiftIns) return; // nothing to watch
    owner = window;
    keys = new PasteKeys(clearOnCtrlV != FALSE, clearOnShiftIns != FALSE);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!ready) return;
    thread = CreateThread(nullptr, 0, HookThread, ready, 0, &threadId);
    if (thread) WaitForSingleObject(ready, kThreadWaitMs);
    CloseHandle(ready);
}

ZLT_HOOK_API void UnHook() {
    if (thread) {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, kThreadWaitMs);
        CloseHandle(thread);
        thread = nullptr;
        threadId = 0;
    }
    delete keys;
    keys = nullptr;
    owner = nullptr;
}
