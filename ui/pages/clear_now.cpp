#include "ui/pages/clear_now.h"

#include "app/main_app.h"
#include "engine/clearing_lease.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

bool AskToClear(HWND page) {
    return AskQuestion(page, "Warning", "", "Are you sure you want to clear select items?", IDI_BOX_QUESTION);
}

bool RunClearing(HWND page, ProgramSettings& settings, const std::function<void()>& clear) {
    ClearingLease lease(settings);
    if (!lease) {
        ShowMessage(page, kDisplayName, "", "Please wait until the clearing that is running has finished.",
                    IDI_BOX_MESSAGE);
        return false;
    }
    clear();
    return true;
}

void SayDone(HWND page, const ProgramSettings& settings) {
    if (settings.confirmAfterClear) ShowMessage(page, "Confirmation", "", "Done", IDI_BOX_MESSAGE);
}
