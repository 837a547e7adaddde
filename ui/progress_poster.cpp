#include "ui/progress_poster.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/main_app.h"
#include "app/messages.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

void CProgressPoster::FileStarted() {
    throttle_.NameChanged();
    Post();
}

void CProgressPoster::PassStarted(uint64_t range) {
    // The bar's width is asked once: a window of another thread is asked through the server, and
    // a shredding run starts three passes per file.
    if (barPixels_ < 0) {
        RECT client{};
        if (bar_) GetClientRect(bar_, &client);
        barPixels_ = std::max<LONG>(0, client.right - client.left);
    }
    throttle_.StartRange(range, static_cast<uint32_t>(barPixels_));
    Post();
}

void CProgressPoster::PassMoved(uint64_t position) {
    throttle_.Move(position);
    Post();
}

void CProgressPoster::Message(const std::string& caption, const std::string& text) {
    ShowMessage(nullptr, caption.empty() ? kDisplayName : caption.c_str(), "", text.c_str(), IDI_BOX_MESSAGE);
}

void CProgressPoster::RunFinished(bool exitProgram) {
    PostMessageA(window_, MsgRunFinished, 0, 0);
    if (exitProgram) PostMessageA(mainWindow_, WM_COMMAND, CmdExitProgram, 0);
}

void CProgressPoster::Post() {
    if (!window_ && !bar_) return;
    const ProgressThrottle::Posts due = throttle_.Due(GetTickCount());
    if (due.name && window_) PostMessageA(window_, MsgShowCurrentFile, 0, 0);
    if (!bar_) return;
    if (due.range) PostMessageA(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(due.rangeValue));
    if (due.position) PostMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(due.positionValue), 0);
}

bool CProgressPoster::PromptClose(RunningProgram program) {
    if (!mainWindow_) return ClearingObserver::PromptClose(program);
    auto request = std::make_shared<PromptCloseRequest>(program);
    if (!request->answered.valid()) return false;
    auto* carried = new std::shared_ptr<PromptCloseRequest>(request);
    if (!PostMessageA(mainWindow_, MsgPromptClose, 0, reinterpret_cast<LPARAM>(carried))) {
        delete carried;
        return false; // no window left to ask: keep the program's files as they are
    }
    // A plain SendMessage would deadlock against an exit path that waits for this thread.
    while (WaitForSingleObject(request->answered.get(), 100) == WAIT_TIMEOUT) {
        if (stop_ && *stop_) {
            request->abandoned = true;
            return false;
        }
    }
    return request->mayClose;
}

void AnswerPromptClose(LPARAM request, ClearingObserver& asker) {
    std::unique_ptr<std::shared_ptr<PromptCloseRequest>> carried(
        reinterpret_cast<std::shared_ptr<PromptCloseRequest>*>(request));
    PromptCloseRequest& r = **carried;
    if (!r.abandoned) r.mayClose = asker.PromptClose(r.program);
    SetEvent(r.answered.get());
}
