#include "ui/pages/settings_page.h"

#include <commctrl.h>

#include <algorithm>

#include "app/hot_key_value.h"
#include "app/main_app.h"
#include "control/hot_keys.h"
#include "platform/handles.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindFlag(IDC_SET_START_WITH_WINDOWS, &ProgramSettings::startWithWindows, false),
    BindFlag(IDC_SET_INVISIBLE, &ProgramSettings::invisibleMode, false),
    BindFlag(IDC_SET_CTRL_V, &ProgramSettings::clearClipboardOnCtrlV, false),
    BindFlag(IDC_SET_SHIFT_INS, &ProgramSettings::clearClipboardOnShiftIns, false),
    BindFlag(IDC_SET_PASSWORD_ON, &ProgramSettings::passwordEnabled, false),
    BindFlag(IDC_SET_CLEAR_ON_START, &ProgramSettings::clearOnStart, false),
    BindFlag(IDC_SET_CLEAR_ON_EXIT, &ProgramSettings::clearOnExit),
    BindDwordFlag(IDC_SET_CLEAR_EVERY, &ProgramSettings::clearEvery, false),
};

// The hot keys, by the identifier that is both their control and their RegisterHotKey id.
constexpr std::pair<int, uint32_t ProgramSettings::*> kHotKeys[] = {
    {HotKeyIdClearAll, &ProgramSettings::hotKeyClearAll},
    {HotKeyIdMinimizeAll, &ProgramSettings::hotKeyMinimizeAll},
    {HotKeyIdCloseBrowsers, &ProgramSettings::hotKeyCloseBrowsers},
    {HotKeyIdCloseAndClear, &ProgramSettings::hotKeyCloseAndClear},
    {HotKeyIdHideBrowsers, &ProgramSettings::hotKeyHideBrowsers},
    {HotKeyIdShowBrowsers, &ProgramSettings::hotKeyShowBrowsers},
};

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char kNoRecentDocs[] = "NoRecentDocsHistory";

std::string RunValueName() {
    std::string name;
    for (const char* p = kDisplayName; *p; ++p)
        if (*p != ' ') name += *p;
    return name;
}

bool RecentDocumentsDisabled() {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kPolicyKey, KEY_READ) != ERROR_SUCCESS) return false;
    DWORD value = 0, size = sizeof value, type = 0;
    return RegQueryValueExA(key.get(), kNoRecentDocs, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && value == 1;
}

// Only where the policy key exists: the program creates no policy of its own.
void WriteRecentDocumentsDisabled(bool on) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kPolicyKey, KEY_SET_VALUE) != ERROR_SUCCESS) return;
    const DWORD value = on ? 1 : 0;
    RegSetValueExA(key.get(), kNoRecentDocs, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void Warn(HWND page, const char* text) { ShowMessage(page, "Warning", "", text, IDI_BOX_MESSAGE); }

} // namespace

void WriteStartWithWindows(bool on, bool create) {
    RegKey key;
    const LONG opened = create ? key.Create(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE)
                               : key.Open(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE);
    if (opened != ERROR_SUCCESS) return;
    const std::string name = RunValueName();
    if (!on) {
        RegDeleteValueA(key.get(), name.c_str());
        return;
    }
    // The running module, not the command line: a start from the program's folder ("zlt") or from
    // a shortcut without quotes would record a name that the logon does not find, or "C:\Program"
    // with the rest for arguments. The value is a command line, so the path goes in quotes.
    char module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string command = std::string("\"") + module + "\"";
    // REG_SZ data counts its terminating NUL; without it a reader may see whatever follows.
    RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
}

CWindowProxySettings::CWindowProxySettings(ProgramSettings* settings, SettingsPageHost* host)
    : COptionPage(IDD_SETTINGS, 480, 400, settings, kBindings, {IDC_SET_APPLY, IDC_SET_RESET}), host_(host) {}

void CWindowProxySettings::ShowDigestPlaceholder() {
    // The digest stands in for the password, which the program never knows; 8 characters of it.
    const std::string shown = settings().password.substr(0, 8);
    SetItemText(IDC_SET_PASSWORD, shown.c_str());
    SetItemText(IDC_SET_PASSWORD_AGAIN, shown.c_str());
}

void CWindowProxySettings::LoadOwn() {
    const ProgramSettings& s = settings();
    loading_ = true;
    passwordChanged_ = false;
    ShowDigestPlaceholder();
    for (const auto& [id, field] : kHotKeys) SendItem(id, HKM_SETHOTKEY, HotKeyControlWord(s.*field));
    WriteStartWithWindows(s.startWithWindows != 0, true);
    SetChecked(IDC_SET_NO_RECENT_DOCS, RecentDocumentsDisabled());
    SetUpDown(IDC_SET_HOURS_SPIN, 0, 23, s.clearEveryHours);
    SetItemInt(IDC_SET_HOURS, s.clearEveryHours);
    SetUpDown(IDC_SET_MINUTES_SPIN, 0, 59, s.clearEveryMinutes);
    SetItemInt(IDC_SET_MINUTES, s.clearEveryMinutes);
    EnablePasswordBoxes();
    EnableSchedulerBoxes();
    loading_ = false;
}

void CWindowProxySettings::EnablePasswordBoxes() {
    const bool on = IsChecked(IDC_SET_PASSWORD_ON);
    EnableItem(IDC_SET_PASSWORD, on);
    EnableItem(IDC_SET_PASSWORD_AGAIN, on);
}

void CWindowProxySettings::EnableSchedulerBoxes() {
    const bool on = IsChecked(IDC_SET_CLEAR_EVERY);
    for (int id : {IDC_SET_HOURS, IDC_SET_HOURS_SPIN, IDC_SET_MINUTES, IDC_SET_MINUTES_SPIN}) EnableItem(id, on);
}

void CWindowProxySettings::OnBoxClicked(int id) {
    if (id == IDC_SET_CLEAR_EVERY) EnableSchedulerBoxes();
    if (id == IDC_SET_PASSWORD_ON) EnablePasswordBoxes();
    MarkModified();
}

int CWindowProxySettings::Clamped(int box, int spin, int low, int high) {
    const int typed = ItemInt(box);
    const int value = std::clamp(typed, low, high);
    if (typed != value || ItemText(box) != std::to_string(value)) {
        SetUpDown(spin, low, high, value);
        SetItemInt(box, value);
    }
    return value;
}

void CWindowProxySettings::OnOwnCommand(int id, int code) {
    if (loading_) return;
    if ((id == IDC_SET_PASSWORD || id == IDC_SET_PASSWORD_AGAIN) && code == EN_CHANGE) {
        passwordChanged_ = true;
        MarkModified();
    } else if (id == IDC_SET_HOURS || id == IDC_SET_MINUTES) {
        const bool hours = id == IDC_SET_HOURS;
        if (code == EN_CHANGE &&
            ItemInt(id) != (hours ? settings().clearEveryHours : settings().clearEveryMinutes))
            MarkModified();
        if (code == EN_KILLFOCUS)
            Clamped(id, hours ? IDC_SET_HOURS_SPIN : IDC_SET_MINUTES_SPIN, 0, hours ? 23 : 59);
    } else if (id >= HotKeyIdClearAll && id <= HotKeyIdShowBrowsers && code == EN_CHANGE) {
        MarkModified();
    } else if (id == IDC_SET_NO_RECENT_DOCS && code == BN_CLICKED) {
        // Not a bound box (the policy lives in the registry), but a change to apply all the same.
        MarkModified();
    }
}

void CWindowProxySettings::ApplyScheduler() {
    ProgramSettings& s = settings();
    const int hours = Clamped(IDC_SET_HOURS, IDC_SET_HOURS_SPIN, 0, 23);
    const int minutes = Clamped(IDC_SET_MINUTES, IDC_SET_MINUTES_SPIN, 0, 59);
    if (IsChecked(IDC_SET_CLEAR_EVERY)) {
        if (!host_->SchedulerRunning() || hours != s.clearEveryHours || minutes != s.clearEveryMinutes) {
            const UINT period = static_cast<UINT>(hours) * 3600000u + static_cast<UINT>(minutes) * 60000u;
            if (period)
                host_->StartScheduler(period);
            else
                host_->StopScheduler();
        }
    } else if (host_->SchedulerRunning()) {
        host_->StopScheduler();
    }
    s.clearEvery = IsChecked(IDC_SET_CLEAR_EVERY) ? 1 : 0;
    s.clearEveryHours = hours;
    s.clearEveryMinutes = minutes;
    s.clearOnExit = IsChecked(IDC_SET_CLEAR_ON_EXIT) ? 1 : 0;
    s.clearOnStart = IsChecked(IDC_SET_CLEAR_ON_START) ? 1 : 0;
}

void CWindowProxySettings::ApplyHotKeys() {
    const HWND window = host_->HotKeyWindow();
    for (const auto& [id, field] : kHotKeys) {
        const uint32_t value = HotKeyValueFromControl(static_cast<uint16_t>(SendItem(id, HKM_GETHOTKEY)));
        settings().*field = RegisterHotKeyFor(window, value, id);
    }
}

void CWindowProxySettings::Apply() {
    ProgramSettings& s = settings();
    const bool protect = IsChecked(IDC_SET_PASSWORD_ON);
    const std::string password = ItemText(IDC_SET_PASSWORD);
    if (protect && password.empty()) return Warn(hwnd_, "Password is empty. Please try again.");
    if (protect && password != ItemText(IDC_SET_PASSWORD_AGAIN))
        return Warn(hwnd_, "The confirmation password is wrong. Please try again.");
    // Whoever found the window open must not take the protection away or set a password of their
    // own: that takes the one that protects it now. A refusal applies nothing.
    if (s.PasswordProtected() && (!protect || passwordChanged_)) {
        CCheckPassword current(&s);
        if (current.Ask(hwnd_) != IDOK) return;
    }

    const bool invisible = IsChecked(IDC_SET_INVISIBLE);
    if (invisible != (s.invisibleMode != 0))
        Warn(hwnd_, invisible ? "You should restart the program to apply invisible mode"
                              : "You should restart the program to turn off invisible mode");
    s.invisibleMode = invisible ? 1 : 0;
    s.startWithWindows = IsChecked(IDC_SET_START_WITH_WINDOWS) ? 1 : 0;

    ApplyScheduler();

    const bool ctrlV = IsChecked(IDC_SET_CTRL_V), shiftIns = IsChecked(IDC_SET_SHIFT_INS);
    if (ctrlV != (s.clearClipboardOnCtrlV != 0) || shiftIns != (s.clearClipboardOnShiftIns != 0)) {
        s.clearClipboardOnCtrlV = ctrlV ? 1 : 0;
        s.clearClipboardOnShiftIns = shiftIns ? 1 : 0;
        // The paste hook receives its keys at start only.
        ShowMessage(hwnd_, "Attention", "", "You need to restart the program to apply changes!", IDI_BOX_MESSAGE);
    }

    WriteStartWithWindows(s.startWithWindows != 0, false);

    if (protect && (!s.passwordEnabled || passwordChanged_)) {
        s.SetPassword(password);
        passwordChanged_ = false;
    }
    s.passwordEnabled = protect ? 1 : 0;
    WriteRecentDocumentsDisabled(IsChecked(IDC_SET_NO_RECENT_DOCS));

    loading_ = true;
    if (protect) {
        ShowDigestPlaceholder();
    } else {
        s.password.clear();
        SetItemText(IDC_SET_PASSWORD, "");
        SetItemText(IDC_SET_PASSWORD_AGAIN, "");
    }
    loading_ = false;
    SetModified(false);
    ApplyHotKeys();
    s.SaveSettings();
}

bool CWindowProxySettings::SelectMostOptions() {
    SetChecked(IDC_SET_NO_RECENT_DOCS, true);
    SelectAll(); // "Clear selected items on program exit", then Apply
    return true;
}
