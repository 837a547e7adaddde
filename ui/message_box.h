#pragma once
// The program's own message and question boxes. Every notice goes through these two functions.
#include <windows.h>

#include <functional>
#include <string>

// parent may be null (the box is then centred on the screen); icon is IDI_BOX_MESSAGE or IDI_BOX_QUESTION.
void ShowMessage(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon);
// True exactly when the user answered "Yes"; "No", Escape and the close box give false.
bool AskQuestion(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon);

// Tests answer boxes without showing them: while a hook is set, both functions call it instead of
// opening a window; its result is AskQuestion's answer (ignored for ShowMessage).
struct BoxRequest {
    bool question;
    HWND parent;
    std::string caption;
    std::string text;
    int icon;
};
using BoxHook = std::function<bool(const BoxRequest&)>;
void SetBoxHookForTests(BoxHook hook);
