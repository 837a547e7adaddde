#include "ui/pages/clear_now.h"

#include "app/main_app.h"
#include "engine/clearing_lease.h"
#include "engine/recording.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/report_view.h"

bool AskToClear(HWND page) {
    return AskQuestion(page, "Warning", "", "Are you sure you want to clear select items?", IDI_BOX_QUESTION);
}

std::shared_ptr<const RunRecord> RunClearing(HWND page, HistoryCleaner& cleaner, ProgramSettings& settings,
                                             const char* trigger, bool preview, const std::function<void()>& clear) {
    ClearingLease lease(settings);
    if (!lease) {
        ShowMessage(page, kDisplayName, "", "Please wait until the clearing that is running has finished.",
                    IDI_BOX_MESSAGE);
        return nullptr;
    }
    return RecordedClearing(cleaner, trigger, preview, settings.ReportsFolder(), clear);
}

void SayDone(HWND page, const ProgramSettings& settings, std::shared_ptr<const RunRecord> record) {
    if (settings.confirmAfterClear)
        ConfirmWithReport(page, "Confirmation", "Done", std::move(record), settings.ReportsFolder());
}
