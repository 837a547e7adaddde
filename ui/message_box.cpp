#include "ui/message_box.h"

#include <utility>

namespace {
BoxHook& Hook() {
    static BoxHook hook;
    return hook;
}
} // namespace

void SetBoxHookForTests(BoxHook hook) { Hook() = std::move(hook); }

void ShowMessage(HWND parent, const char* caption, const char* /*groupTitle*/, const char* text, int icon) {
    if (Hook()) {
        Hook()({false, parent, caption, text, icon});
        return;
    }
    MessageBoxA(parent, text, caption, MB_OK | MB_ICONINFORMATION);
}

bool AskQuestion(HWND parent, const char* caption, const char* /*groupTitle*/, const char* text, int icon) {
    if (Hook()) return Hook()({true, parent, caption, text, icon});
    return MessageBoxA(parent, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
