// Shows one of the program's windows by itself, for screenshots (scripts/screenshots.sh):
//   zlt_gallery.exe message|question|password|progress
// The window stays until it is closed.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/main_app.h"
#include "app/messages.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"
#include "ui/progress_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    InitialiseLibraries();
    const std::string what = commandLine;
    ProgramSettings& s = Settings();
    s.ApplyDefaults();
    if (what == "message") {
        ShowMessage(nullptr, "Zephyrlanthorpe", "", "All selected items have been deleted.", IDI_BOX_MESSAGE);
    } else if (what == "question") {
        AskQuestion(nullptr, "Warning", "", "You didn't apply any changes. Do you want to reset them?",
                    IDI_BOX_QUESTION);
    } else if (what == "password") {
        s.SetPassword("x");
        CCheckPassword(&s).Ask(nullptr);
    } else if (what == "progress") {
        s.showShredProgress = 1;
        s.SetCurrentFileText("C:\\Users\\Someone\\AppData\\Local\\Temp\\report-draft.tmp");
        CWindowProgressDelete window(&s, nullptr);
        window.Start(nullptr, [](CDeleteThread& t) {
            // Apart, so that the window's 50 ms batching lets each one through.
            t.observer->FileStarted();
            Sleep(60);
            t.observer->PassStarted(100);
            Sleep(60);
            t.observer->PassMoved(62);
            while (!t.settings->stopRequested) Sleep(50);
            t.observer->RunFinished(false);
        });
        MSG msg;
        while (window.running() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageA(window.hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    return 0;
}
