#pragma once
// "Check for updates": starts a version check on a worker thread, shows its status text as it goes
// and lets the user abort it. Help tree; no settings, so nothing to apply or reset.
#include <memory>

#include "ui/page.h"
#include "update/version_check.h"

class CWindowHelpCheckUpdates : public CPage {
public:
    CWindowHelpCheckUpdates();
    ~CWindowHelpCheckUpdates() override;

    // Tests point the check at a server of their own; the program always asks the vendor's.
    void SetEndpointForTests(const char* host, unsigned short port);
    // True from the start of a check until its worker has finished or been aborted.
    bool checking() const { return worker_ != nullptr; }

    // Made when first chosen: the rich edit's library stays out of the idle program.
    bool CreatedOnFirstShow() const override { return true; }

protected:
    void LoadControlClasses() override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void StartCheck();
    void AskAbort();
    void ShowStatus();
    void SetIdle();
    // Aborts the check without waiting for its worker, which the page hears no more of; what the
    // check had said by then.
    VersionCheck::Detached LetGoOfCheck();
    // Lets go of the worker's handle; the thread ends on its own.
    void ReleaseWorker();

    VersionCheckEndpoint endpoint_;
    std::shared_ptr<VersionCheck> check_;
    HANDLE worker_ = nullptr;
};
