#pragma once
// The program's own message and question boxes. Every notice goes through ShowMessage or
// AskQuestion; the system's message box is never used.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/box_layout.h"
#include "ui/framework/dialog.h"

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
// The command line shows no box at all: it routes every box to its console the same way.
void RouteBoxes(BoxHook route);

// One-button box ("Ok"), sized to its text.
class CMessageBox : public CDialog {
public:
    CMessageBox(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon);
    ~CMessageBox() override;
    INT_PTR Run() { return DoModal(parent_); }

protected:
    CMessageBox(int templateId, HWND parent, const char* caption, const char* groupTitle, const char* text,
                int icon);
    BOOL OnInitDialog() override;
    // Places the buttons once the text height is known.
    virtual void PlaceButtons(const BoxLayout& layout);

    HWND parent_;
    std::string caption_, groupTitle_, text_;
    int iconId_;
    HICON icon_ = nullptr;
    HFONT font_ = nullptr;
    HWND richEdit_ = nullptr;
    HWND okButton_ = nullptr;
    HWND groupBox_ = nullptr;

private:
    HWND CreateTextControl(int width, int height, bool centred);
};

// Question box: "Yes" (IDOK) and "No" (IDCANCEL) from its template.
class CAnswerBox : public CMessageBox {
public:
    CAnswerBox(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon);

protected:
    void PlaceButtons(const BoxLayout& layout) override;
};
