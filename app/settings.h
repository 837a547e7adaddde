#pragma once
// ProgramSettings: the one record of every option, the window placement, the hot keys, the password
// digest and the run-time flags of a clearing. One instance for the whole process (Settings()).
// Portable: the file format lives in settings_format.cpp; loading, saving and the password digest,
// which need Windows, live in settings_file.cpp and password.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "app/hot_key_value.h"
#include "app/options_ini.h"


// One bit per browser; the same bit in every mask.
enum BrowserBits : uint32_t {
    BrowserIE = 0x001,
    BrowserMozilla = 0x002,
    BrowserNetscape = 0x004,
    BrowserOpera = 0x008,
    BrowserFirefox = 0x010,
    IEIndexDatContent = 0x020,  // history, cache and cookies masks only
    IEIndexDatAtStartup = 0x040, // history, cache and cookies masks only
    BrowserSafari = 0x080,
    BrowserChrome = 0x100,
    // Browsers whose every option lives in options.ini: their bits never stand in a mask of
    // settings.dat, they only tell a page's CLEAR and the watches which steps are the browser's.
    BrowserEdge = 0x10000,
    BrowserBrave = 0x20000,
    BrowserVivaldi = 0x40000,
    BrowserOperaToday = 0x80000, // Opera since it is built on Chromium, and Opera GX
};

// A shredding method: the byte patterns written over a file before it is deleted.
struct ShredMethod {
    std::string name;
    int passCount = 0;
    int verifyMode = 0; // 0 no read-back, 1 check the last pass once, 2 check after every pass
    int deleteMode = 0; // 1 delete only when every check succeeded; 0 or 2 delete anyway
    std::vector<std::string> passes;
};

// The one built-in method, "U.S. DoD 5220.22-M (E)": random byte, its complement, a new random byte.
ShredMethod BuiltInShredMethod();

// navigationTreeState bits
constexpr int32_t TreeStateWhatToClearExpanded = 0x1;
constexpr int32_t TreeStateSettingsExpanded = 0x4;

// The defaults of the stored fields are their initial values here, so that the record is never
// the all-zero "invisible program" even before anything is loaded; ApplyDefaults goes back to them.
struct ProgramSettings {
    // Window placement
    int32_t windowLeft = 20, windowTop = 20, windowWidth = 650, windowHeight = 450;
    int32_t windowShowCmd = 1;
    int32_t splitterPos = 180;

    // Flags (one byte each in the file)
    uint8_t startWithWindows = 1, invisibleMode = 0, passwordEnabled = 0;
    std::string password; // SHA-256 digest as 64 upper-case hex digits, or empty
    uint8_t clearOnExit = 0, clearOnStart = 0, clearClipboardOnCtrlV = 0, clearClipboardOnShiftIns = 0;
    uint8_t emptyRecycleBin = 0, clearRecentDocuments = 0, emptyRecentItems = 0, clearClipboard = 0;
    uint8_t emptyTempFolders = 0, clearPageFileAtShutdown = 0, clearToolbarHistory = 0;

    // Browser masks
    uint32_t historyMask = 0, bookmarksMask = 0, cacheMask = 0, cookiesMask = 0;
    uint32_t passwordsMask = 0, downloadsMask = 0, purgeHistoryMask = 0;
    uint32_t reserved1 = 0;

    uint8_t clearRunHistory = 0, clearSearchFilesHistory = 0, clearSearchComputersHistory = 0;
    uint8_t clearUserAssist = 0, clearStreams = 0, clearOpenSaveHistory = 0, clearOfficeHistory = 0;
    uint8_t clearMediaPlayerHistory = 0, clearGoogleDesktopHistory = 0, deleteSkypeCalls = 0;
    uint8_t deleteSkypeChats = 0, purgeSkypeDatabase = 0, clearAcrobatReaderRecent = 0;
    uint8_t clearAcrobatRecent = 0, clearAcrobatHistory = 0, clearAcrobatCollections = 0;
    uint8_t deleteIECompatCacheIndex = 0, deletePrivacIEIndex = 0, clearMostPopularSites = 0;
    uint8_t clearLastSession = 0;
    uint8_t shredFiles = 0, showShredProgress = 0;

    int32_t navigationTreeState = 0;
    uint32_t reserved2 = 0;

    uint32_t hotKeyClearAll = MakeHotKeyValue('C', HotKeyShift | HotKeyControl);
    uint32_t hotKeyMinimizeAll = MakeHotKeyValue('M', HotKeyShift | HotKeyControl);
    uint32_t hotKeyCloseBrowsers = MakeHotKeyValue('Q', HotKeyShift | HotKeyControl);
    uint32_t hotKeyCloseAndClear = MakeHotKeyValue('E', HotKeyShift | HotKeyControl);
    uint32_t hotKeyHideBrowsers = MakeHotKeyValue('H', HotKeyShift | HotKeyControl);
    uint32_t hotKeyShowBrowsers = MakeHotKeyValue('S', HotKeyShift | HotKeyControl);
    int32_t maxIndexDatSizeMb = 10;

    uint8_t clearOperaSpeedDial = 0;
    int32_t clearEvery = 0; // flag (dword): stored as its low byte
    int32_t clearEveryHours = 1, clearEveryMinutes = 0;
    int32_t askCloseBrowsers = 1, confirmAfterClear = 1, clearOnBrowserClose = 0, clearSkypeOnQuit = 0; // flags (dword)

    // Run-time fields, never stored. The worker thread reads and writes the flags without a lock:
    // plain 32-bit stores, re-read each time.
    std::string installFolder;
    // The user's own folders, set once at start before anything is loaded (SetUserFolders); tests
    // set them themselves. Nothing a user writes goes into the program's folder, which every user
    // shares: dataFolder (%APPDATA%\Zephyrlanthorpe) holds settings.dat, localDataFolder
    // (%LOCALAPPDATA%\Zephyrlanthorpe) what stays on this machine (index.bat, the reports).
    std::string dataFolder;
    std::string localDataFolder;
    volatile int32_t exiting = 0;
    volatile int32_t stopRequested = 0;
    volatile int32_t runActive = 0;
    volatile int32_t exitAfterRun = 0;
    std::vector<ShredMethod> shredMethods{BuiltInShredMethod()};
    // settings.dat could not be taken whole (damaged, cut short or unreadable) and is not yet kept
    // aside: the next save moves it to settings.dat.bad before writing, never over it.
    bool keepFileAside = false;
    // The options settings.dat has no room for (options.ini), and whether that file could not be
    // read as it stood: its options then take their defaults, and the keep list fails closed.
    OptionsIni options;
    bool optionsDamaged = false;
    bool keepOptionsFile = false; // options.ini could not be read at all: it is not written over
    std::string currentFileText; // written by the worker, read by the UI: use the two functions below
    void SetCurrentFileText(const std::string& text);
    std::string CurrentFileText() const;

    // Every stored field to its default; run-time flags cleared; shredMethods rebuilt.
    void ApplyDefaults();
    // Window position, size and show command to their defaults.
    void ApplyDefaultPlacement();
    void ClearRunFlags();
    void RebuildShredMethods();

    // settings.dat in dataFolder. Failures show the program's own message box. A user without one
    // takes over, once, the settings.dat that an older version kept in the program's folder.
    // options.ini, beside it, is loaded and saved with it.
    bool LoadSettings();
    bool SaveSettings();
    // options.ini alone: a missing file gives every option its default; a damaged one is kept as
    // options.ini.bad, the options take their defaults and one box says so.
    bool LoadOptions();
    bool SaveOptions();
    std::string OptionsPath() const;

    void SetPassword(const std::string& text);
    bool CheckPassword(const std::string& text) const;
    // The window asks for the password only when one was stored: "protected" without a digest
    // (a damaged or hand-made file) must never lock the user out.
    bool PasswordProtected() const;

    // dataFolder + "\\settings.dat".
    std::string SettingsPath() const;
    // Where a damaged settings.dat is kept: beside it, as settings.dat.bad.
    std::string KeptAsidePath() const;
    // localDataFolder + "\\Reports": the reports of the clearings. Empty when the folder is not
    // known, and no report is then saved.
    std::string ReportsFolder() const;
    // Where older versions kept settings.dat for every user: the program's folder. Empty when it
    // is not known.
    std::string SharedSettingsPath() const;

private:
    bool LoadSettingsFile();
    bool SaveSettingsFile();
    // Reads `file` into the record; the rules for a damaged file as LoadSettings says. `opened`
    // tells whether the file could be opened at all.
    bool ReadSettingsFile(const std::string& file, bool* opened = nullptr);
    // dataFolder exists (made here when missing; the folder above it always does).
    bool MakeDataFolder() const;
};

// dataFolder and localDataFolder of the user running the program.
void SetUserFolders(ProgramSettings& settings);

// One option of the record: a flag, a flag (dword), one bit of a browser mask, or an option of
// options.ini. Option pages bind
// their check boxes to options, and options select the steps of a clearing.
struct SettingRef {
    enum Kind { ByteFlag, DwordFlag, MaskBit, IniFlag };
    Kind kind;
    uint8_t ProgramSettings::*byteFlag = nullptr;
    int32_t ProgramSettings::*dwordFlag = nullptr;
    uint32_t ProgramSettings::*mask = nullptr;
    uint32_t bit = 0;
    // An option of options.ini: its section (the page), its key and its default.
    const char* section = nullptr;
    const char* key = nullptr;
    bool defaultOn = false;

    // Any non-zero flag reads as on; writing stores 1 or 0, or sets or clears only the bit.
    bool Read(const ProgramSettings& s) const;
    void Write(ProgramSettings& s, bool on) const;
};

constexpr SettingRef Flag(uint8_t ProgramSettings::*field) { return {SettingRef::ByteFlag, field, nullptr, nullptr, 0}; }
constexpr SettingRef DwordFlag(int32_t ProgramSettings::*field) {
    return {SettingRef::DwordFlag, nullptr, field, nullptr, 0};
}
constexpr SettingRef MaskBit(uint32_t ProgramSettings::*mask, uint32_t bit) {
    return {SettingRef::MaskBit, nullptr, nullptr, mask, bit};
}
constexpr SettingRef IniFlag(const char* section, const char* key, bool defaultOn = false) {
    return {SettingRef::IniFlag, nullptr, nullptr, nullptr, 0, section, key, defaultOn};
}

// The process's one record.
ProgramSettings& Settings();
