#include "ui/progress_poster.h"

#include <commctrl.h>

#include <algorithm>

#include "app/main_app.h"
#include "app/messages.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

void CProgressPoster::FileStarted() {
    throttle_.NameChanged();
    Post();
}

void CProgressPoster::PassStarted(uint64_t range) {
    RECT client{};
    if (bar_) GetClientRect(bar_, &client);
    throttle_.StartRange(range, static_cast<uint32_t>(std::max<LONG>(0, client.right - client.left)));
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
