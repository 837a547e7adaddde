#pragma once
// "Settings": the program's own behaviour. Besides the settings record, Apply brings the system in
// line (the "Start with Windows" value, the recent-documents policy, the scheduler timer and the
// hot keys known to Windows) and writes settings.dat at once.
#include <string>

#include "ui/option_page.h"

// What the page changes in the main window.
class SettingsPageHost {
public:
    virtual ~SettingsPageHost() = default;
    virtual bool SchedulerRunning() const = 0;
    // (Re)starts the scheduler timer with this period, or stops it.
    virtual void StartScheduler(UINT periodMs) = 0;
    virtual void StopScheduler() = 0;
    // The window that owns the hot keys.
    virtual HWND HotKeyWindow() const = 0;
};

class CWindowProxySettings : public COptionPage {
public:
    CWindowProxySettings(ProgramSettings* settings, SettingsPageHost* host);
    // Everything in the order that lets a wrong password stop the whole Apply.
    void Apply() override;
    bool SelectMostOptions() override;

protected:
    void LoadOwn() override;
    void OnBoxClicked(int id) override;
    void OnOwnCommand(int id, int code) override;

private:
    void EnableSchedulerBoxes();
    void EnablePasswordBoxes();
    // The hours or minutes box within its limits, its up-down and text following.
    int Clamped(int box, int spin, int low, int high);
    void ShowDigestPlaceholder();
    void ApplyScheduler();
    void ApplyHotKeys();

    SettingsPageHost* host_;
    bool passwordChanged_ = false;
    bool loading_ = false; // the page itself is filling the boxes: no edit of the user's
};

// The "Start with Windows" value, the running program's quoted path: set when `on`, else removed.
// `create` also creates the Run key where it is missing.
void WriteStartWithWindows(bool on, bool create);
