// "zlt.exe /clean" and "/preview": the stored selection cleared (or only listed) on this thread,
// without a window, a box or a tray icon, and said on the console the program was started from.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "app/main_app.h"
#include "app/settings.h"
#include "engine/clearing_lease.h"
#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "platform/handles.h"
#include "ui/message_box.h"
#include "ui/report_text.h"

namespace {

// Where the text goes: the standard handles the starter gave (a pipe, a file), or else the console
// of the program that started this one. A program started from the desktop has neither, and its
// text goes nowhere.
class Console {
public:
    Console() : out_(Usable(GetStdHandle(STD_OUTPUT_HANDLE))), error_(Usable(GetStdHandle(STD_ERROR_HANDLE))) {
        if (out_ && error_) return;
        // Looked up: Windows 2000 has no AttachConsole, and a static import would keep the program
        // from starting there.
        using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
        const auto attach = reinterpret_cast<AttachConsoleFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "AttachConsole")));
        if (!attach || !attach(ATTACH_PARENT_PROCESS)) return;
        console_.Reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
        if (!console_.valid()) return;
        if (!out_) out_ = console_.get();
        if (!error_) error_ = console_.get();
    }
    void Out(const std::string& text) const { Write(out_, text); }
    void Error(const std::string& text) const { Write(error_, text); }

private:
    static HANDLE Usable(HANDLE handle) {
        return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN ? handle : nullptr;
    }
    // Lines end as the console and Windows' text files expect.
    static void Write(HANDLE handle, const std::string& text) {
        if (!handle) return;
        std::string lines;
        for (char c : text) {
            if (c == '\n') lines += '\r';
            lines += c;
        }
        DWORD written = 0;
        WriteFile(handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    }

    HANDLE out_, error_;
    ScopedHandle console_;
};

// The cleaners' voice without a window: nobody is there to answer, so a running Skype or Google
// Desktop is let be and what it holds open is reported as left; warnings become console text.
class ConsoleObserver : public ClearingObserver {
public:
    ConsoleObserver(const Console& console, bool silent) : console_(console), silent_(silent) {}
    void Message(const std::string& caption, const std::string& text) override {
        if (silent_ && caption != "Error") return;
        console_.Error((caption.empty() ? std::string(kDisplayName) : caption) + ": " + text + "\n");
    }
    bool PromptClose(RunningProgram) override { return true; }

private:
    const Console& console_;
    bool silent_;
};

std::string ErrorLine(const std::string& text) { return "zlt.exe: " + text + "\n"; }

} // namespace

int RunCommandLine(const CommandLine& line, const std::string& installFolder) {
    const Console console;
    if (line.action == CommandLine::Action::Help) {
        console.Out(UsageText());
        return ExitAllDone;
    }
    if (line.action != CommandLine::Action::Clean && line.action != CommandLine::Action::Preview) {
        console.Error(ErrorLine(line.error) + UsageLine() + "\n");
        return ExitBadArguments;
    }
    // No box, ever: what would be one is said on the console, and a question is answered "No".
    int boxes = 0;
    RouteBoxes([&](const BoxRequest& box) {
        ++boxes;
        console.Error((box.caption.empty() ? std::string(kDisplayName) : box.caption) + ": " + box.text + "\n");
        return false;
    });

    ProgramSettings& settings = Settings();
    settings.installFolder = installFolder;
    SetUserFolders(settings);
    settings.LoadSettings();
    // Whatever the window would have shown a box about (a damaged, cut short or unreadable
    // settings.dat, a damaged options.ini) leaves no stored selection to clear.
    if (boxes > 0 || settings.optionsDamaged) {
        console.Error(ErrorLine("the settings cannot be read; nothing was cleared"));
        return ExitBadArguments;
    }
    // The report's file must be there to write before anything is cleared.
    if (!line.reportFile.empty()) {
        ScopedHandle file(CreateFileA(line.reportFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            console.Error(ErrorLine("cannot write the report \"" + line.reportFile + "\"; nothing was cleared"));
            return ExitBadArguments;
        }
    }

    // Never beside another clearing, in this session: the program in the tray or another command
    // line. Nothing waits for it.
    ClearingLease lease(settings);
    if (!lease) {
        console.Error(ErrorLine("another clearing is running; nothing was cleared"));
        return ExitClearingRunning;
    }
    // As at the program's start: the 64-bit registry view is reached, and the cleaners' COM objects
    // have their apartment.
    DetectWow64();
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!AnyClearingOptionSelected(settings) && !line.silent)
        console.Out("Please select items you want to clear in 'What to clear' windows.\n");

    HistoryCleaner& cleaner = Cleaner();
    ConsoleObserver observer(console, line.silent);
    cleaner.SetObserver(&observer);
    const bool preview = line.action == CommandLine::Action::Preview;
    const auto record = RecordedClearing(cleaner, "command-line", preview, settings.ReportsFolder(), [&] {
        // The groups "Clear all selected items" runs on the window's thread; shredding as stored.
        ClearSelectedBrowserItems(cleaner, settings);
        ClearSelectedWindowsHistory(cleaner, settings, nullptr);
        ClearSelectedApplicationHistory(cleaner, settings);
    });
    cleaner.SetObserver(nullptr);
    if (SUCCEEDED(com)) CoUninitialize();

    int result = record->Totals().left ? ExitItemsLeft : ExitAllDone;
    if (!line.reportFile.empty() && !WriteReportJson(*record, line.reportFile)) {
        console.Error(ErrorLine("cannot write the report \"" + line.reportFile + "\""));
        result = ExitBadArguments;
    }
    if (!line.silent) {
        std::string text = ReportHeading(record.get()) + "\n";
        for (const RecordItem& item : record->items)
            if (item.action == ItemAction::Left)
                text += "Left: " + ItemCell(item, ItemColumn::Item) + " (" + ItemCell(item, ItemColumn::Reason) + ")\n";
        if (!preview && !settings.ReportsFolder().empty())
            text += "The report is kept in \"" + settings.ReportsFolder() + "\".\n";
        console.Out(text);
    }
    return result;
}
