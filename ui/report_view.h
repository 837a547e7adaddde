#pragma once
// The report of one clearing or preview in a window of its own: a heading with the summary, the
// totals per browser or part of Windows, profile and kind of trace, and every item (owner-drawn
// from the record, so that tens of thousands of lines open at once), with a way to the folder of
// saved reports.
#include <memory>
#include <string>
#include <vector>

#include "engine/run_record.h"
#include "ui/framework/dialog.h"

class CReportView : public CDialog {
public:
    // `record` may be null: nothing has been recorded yet. `reportsFolder` is where the saved
    // reports are (may be empty).
    CReportView(std::shared_ptr<const RunRecord> record, std::string reportsFolder);
    INT_PTR Run(HWND parent) { return DoModal(parent); }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillGroups();
    void Layout(int width, int height);
    void OpenReportsFolder();

    std::shared_ptr<const RunRecord> record_;
    std::string reportsFolder_;
    std::string cell_; // the text a list last asked for, alive until it asks again
    SIZE minimum_{};   // the template's size: the window gets no smaller
};

// Shows the view of `record` (null: none yet) over `parent` until it is closed.
void ShowReportView(HWND parent, std::shared_ptr<const RunRecord> record, const std::string& reportsFolder);

// The confirmation after a clearing: `firstLine`, the summary of `record` and the offer to see the
// report, which "Yes" opens. Without a record only `firstLine` is said.
void ConfirmWithReport(HWND parent, const char* caption, const char* firstLine,
                       std::shared_ptr<const RunRecord> record, const std::string& reportsFolder);
