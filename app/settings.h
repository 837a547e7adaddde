#pragma once
// ProgramSettings: the one record of every option, the window placement, the hot keys, the password
// digest and the run-time flags of a clearing. One instance for the whole process (Settings()).
// Portable: the file format lives in settings_format.cpp; loading, saving and the password digest,
// which need Windows, live in settings_file.cpp and password.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/shred_method.h"

class CWindowProgressDelete;

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
};

// Hot-key value: virtual-key code in the high 16 bits, hot-key-control modifiers in the low 16 bits.
enum HotKeyModifierBits : uint32_t {
    HotKeyShift = 0x01,
    HotKeyControl = 0x02,
    HotKeyAlt = 0x04,
    HotKeyExt = 0x08,
};
constexpr uint32_t MakeHotKeyValue(uint32_t virtualKey, uint32_t modifiers) { return virtualKey << 16 | modifiers; }

// navigationTreeState bits
constexpr int32_t TreeStateWhatToClearExpanded = 0x1;
constexpr int32_t TreeStateSettingsExpanded = 0x4;

struct ProgramSettings {
    // Window placement
    int32_t windowLeft = 0, windowTop = 0, windowWidth = 0, windowHeight = 0;
    int32_t windowShowCmd = 0;
    int32_t splitterPos = 0;

    // Flags (one byte each in the file)
    uint8_t startWithWindows = 0, invisibleMode = 0, passwordEnabled = 0;
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

    uint32_t hotKeyClearAll = 0, hotKeyMinimizeAll = 0, hotKeyCloseBrowsers = 0;
    uint32_t hotKeyCloseAndClear = 0, hotKeyHideBrowsers = 0, hotKeyShowBrowsers = 0;
    int32_t maxIndexDatSizeMb = 0;

    uint8_t clearOperaSpeedDial = 0;
    int32_t clearEvery = 0; // flag (dword): stored as its low byte
    int32_t clearEveryHours = 0, clearEveryMinutes = 0;
    int32_t askCloseBrowsers = 0, confirmAfterClear = 0, clearOnBrowserClose = 0, clearSkypeOnQuit = 0; // flags (dword)

    // Run-time fields, never stored. The worker thread reads and writes the flags without a lock:
    // plain 32-bit stores, re-read each time.
    std::string installFolder;
    volatile int32_t exiting = 0;
    volatile int32_t stopRequested = 0;
    volatile int32_t runActive = 0;
    volatile int32_t exitAfterRun = 0;
    std::vector<ShredMethod> shredMethods;
    // settings.dat could not be taken whole (damaged, cut short or unreadable) and is not yet kept
    // aside: the next save moves it to settings.dat.bad before writing, never over it.
    bool keepFileAside = false;
    CWindowProgressDelete* progressWindow = nullptr;
    std::string currentFileText; // written by the worker, read by the UI: use the two functions below
    void SetCurrentFileText(const std::string& text);
    std::string CurrentFileText() const;

    // Every stored field to its default; run-time flags cleared; shredMethods rebuilt.
    void ApplyDefaults();
    // Window position, size and show command to their defaults.
    void ApplyDefaultPlacement();
    void ClearRunFlags();
    void RebuildShredMethods();

    // settings.dat in installFolder. Failures show the program's own message box.
    bool LoadSettings();
    bool SaveSettings();

    void SetPassword(const std::string& text);
    bool CheckPassword(const std::string& text) const;
    // The window asks for the password only when one was stored: "protected" without a digest
    // (a damaged or hand-made file) must never lock the user out.
    bool PasswordProtected() const;

    // installFolder + "\\settings.dat", formatted as "%s\\settings.dat".
    std::string SettingsPath() const;
    // Where a damaged settings.dat is kept: beside it, as settings.dat.bad.
    std::string KeptAsidePath() const;
};

// The process's one record.
ProgramSettings& Settings();
