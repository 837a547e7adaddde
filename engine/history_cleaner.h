#pragma once
// HistoryCleaner: the one object whose operations are every cleaner and the file-system, registry
// and shredding primitives they are built from. One instance for the process (Cleaner()); tests
// make their own, or derive from it to record which cleaners a run calls.
//
// Nothing here reports an error upward or shows anything: whatever cannot be reached is left as it
// is and the caller goes on. What the user is to see goes to the ClearingObserver.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/settings.h"
#include "engine/cookie_keep_list.h"
#include "engine/clearing_observer.h"
#include "engine/run_record.h"
#include "engine/shred_pattern.h"

using FolderList = std::vector<std::string>;

// Set once at start-up by DetectWow64(): a 32-bit process on 64-bit Windows, whose registry
// operations must also reach the 64-bit view. Tests set it to exercise that path.
extern bool isWow64;
void DetectWow64();
// The view that the registry operations reach besides the default one while isWow64 is set: the
// 64-bit view. Tests of the 64-bit build point it at the 32-bit view, the one that is separate for
// them, so that the same path can be seen to reach a second view.
extern REGSAM wow64OtherView;

// The file that the passes overwrite and read back: one handle and one pair of 4096-byte buffers,
// reused from file to file.
class OverwriteFile {
public:
    OverwriteFile() = default;
    OverwriteFile(const OverwriteFile&) = delete;
    OverwriteFile& operator=(const OverwriteFile&) = delete;
    ~OverwriteFile() { Close(); }
    // Read and write, existing files only, no sharing; only a file with one name that is no link
    // is opened (see FileEntry).
    bool Open(const std::string& path);
    void Close();
    HANDLE handle = INVALID_HANDLE_VALUE;
    // The final path of the folder of the file that RemoveFile shreds, taken once when it starts:
    // every open of every pass is checked against it. Empty: looked up at each open.
    std::string folderFinal;
    // A handle to the file RemoveFile checked by name (final path and all), open with no access
    // but to its attributes while it shreds it: every pass's open is checked against it (same
    // file) instead of by name again. Invalid: each open is checked by name.
    HANDLE pinned = INVALID_HANDLE_VALUE;
    // Which pass of the file's shredding opens it next, and where its data lay before the first
    // pass wrote and after the last one's flush.
    enum Pass { First, Middle, Last, Only } placementPass = Only;
    DWORD attributes = 0; // of the file opened, as its opening read them
    uint64_t size = 0;
    FilePlacement before, after;
    alignas(64) uint8_t pattern[PassLayout::kBlock];
    alignas(64) uint8_t readBack[PassLayout::kBlock];
};

// Seam for tests of the shredder: sees every open, write and flush and the end of every pass. Null
// in the program.
struct ShredProbe {
    virtual ~ShredProbe() = default;
    // The file has just been opened for a write pass (forWriting) or a read-back.
    virtual void Opened(OverwriteFile& /*file*/, bool /*forWriting*/) {}
    virtual void BlockWritten(uint8_t /*value*/, DWORD /*bytes*/) {}
    // A write pass reached the disk.
    virtual void Flushed() {}
    // After pass `pass` (1-based) of ShredFile has written and closed the file.
    virtual void PassWritten(const std::string& /*path*/, int /*pass*/) {}
};

// Results of one overwrite pass and of one read-back.
enum PassResult { PassNotOpened = 0, PassStopped = 1, PassDone = 2, PassFailed = 3 };
enum VerifyResult { VerifyNotOpened = 0, VerifyStopped = 1, VerifyDiffers = 2, VerifyMatched = 3, VerifyFailed = 4 };

class HistoryCleaner {
public:
    explicit HistoryCleaner(ProgramSettings* settings = nullptr) : settings(settings) {}
    virtual ~HistoryCleaner() = default;
    HistoryCleaner(const HistoryCleaner&) = delete;
    HistoryCleaner& operator=(const HistoryCleaner&) = delete;

    // ---- Members
    ProgramSettings* settings = nullptr;
    std::vector<uint8_t> passPattern; // one byte per pass of the method in use
    OverwriteFile overwriteFile;
    // Set by RunClearingSteps while it runs: only then does a cancel (stopRequested) cut shredding
    // short, so the flag that a finished run leaves set never spoils a later page clear.
    volatile LONG threadedRun = 0;
    ShredProbe* shredProbe = nullptr;

    // ---- What a clearing did. A clearing that keeps a record sets it for its length (see
    // RecordingScope); every primitive then adds what it removed, emptied, edited or left. With
    // `dryRun` set the primitives walk, count and size exactly what they would remove and change
    // nothing: no file, no registry value, no database byte (the preview).
    bool dryRun = false;
    RunRecord* record = nullptr;
    // What the items recorded now belong to: set from the cleaner being called and, by cleaners
    // that know them, the profile.
    struct Context {
        std::string group, profile, category;
    } context;
    // The record of the last clearing or preview (see RecordedClearing); shared with the windows
    // that show it, which may ask for it on another thread.
    void KeepLastRecord(std::shared_ptr<const RunRecord> last);
    std::shared_ptr<const RunRecord> LastRecord() const;
    // Adds `item`, in the current context, to the record (if any) and tells the observer.
    void Record(RecordItem item);
    // Something that stays, with the reason the system gave for it (`error`, a Win32 error):
    // another program holding it is named when it can be found.
    void RecordLeft(ItemKind kind, const std::string& path, DWORD error, const std::string& detail = {});
    void RecordLeft(ItemKind kind, const std::string& path, LeftReason reason, const std::string& detail = {});

    // The sites whose cookies and site data stay ("Cookies to keep" in options.ini). Nothing when
    // the list cannot be read: options.ini could not be read when it was loaded, it carries the
    // mark of a damage (this start's or an earlier one's), or an entry is no site. No settings:
    // an empty list.
    std::optional<CookieKeepList> CookiesToKeep() const;
    // For a cookie cleaner about to touch `store`: the list, or nothing after `store` (when it is
    // there) has been recorded as left because the list cannot be read.
    std::optional<CookieKeepList> CookiesToKeepFor(const std::string& store, ItemKind kind = ItemKind::File);
    // For a store that cannot be cleaned site by site: true, with `store` (when it is there)
    // recorded as left, when the list keeps any site or cannot be read. The caller then leaves it.
    bool LeavesWholeCookieStore(const std::string& store, ItemKind kind = ItemKind::File);

    // Whoever shows what the cleaners do: the progress window during a threaded run, the main
    // window otherwise; none reports to nobody.
    void SetObserver(ClearingObserver* observer) { observer_ = observer; }
    ClearingObserver* observer() const { return observer_; }
    // The observer, or one that ignores everything.
    ClearingObserver& Report() const;
    // The file that RemoveFile is working on (settings->currentFileText), copied under a lock: the
    // progress window reads it while the worker may already be rewriting it.
    std::string CurrentFileText() const;

    // ---- Folder walks. Links (junctions, symbolic links, and on Wine Unix symlinks to folders) and
    // cloud placeholders are never listed, entered or removed, nor is a walk started in a folder
    // that is one. No removal follows a link of any kind (see FileEntry).
    void ListSubfoldersDeep(const std::string& folder, FolderList& list);
    void ListSubfolders(const std::string& folder, FolderList& list);
    void ListFiles(const std::string& folder, FolderList& list);
    void EmptyFolder(const std::string& folder, bool allowShred);
    void RemoveFilesBySuffix(const std::string& folder, const std::string& suffix, bool allowShred);
    void RemoveFilesByPrefix(const std::string& folder, const std::string& prefix, bool allowShred);
    void RemoveFileInEachFolder(const std::string& name, const FolderList& folders);
    void RemoveDigitNamedSFiles(const std::string& folder);

    // ---- Registry. Paths without a root are under HKEY_CURRENT_USER.
    bool DeleteRegistryTree(HKEY root, const std::string& key);
    void DeleteRegistryKey(HKEY root, const std::string& key);
    void DeleteRegistryValue(const std::string& key, const std::string& name);
    void DeleteAllSubkeys(const std::string& key);
    // Deletes every value of HKCU\key whose name begins with `prefix` (case-sensitive), in both
    // views; the key, its subkeys and its other values stay.
    void DeleteValuesByPrefix(const std::string& key, const std::string& prefix);
    void DeleteSubkeyUnderEach(const std::string& key, const std::string& child);
    void ReadInstallDirectories(const std::string& key, FolderList& list);
    void ReadLastDirectories(const std::string& key, FolderList& list);
    void ReadFolderValue(const std::string& key, FolderList& list);

    // ---- Security. Results are blocks of the process heap: free them with HeapFree(GetProcessHeap()).
    PSID GetCurrentUserSid();
    std::string FormatSid(PSID sid);
    PSECURITY_DESCRIPTOR SaveKeySecurity(HKEY root, const std::string& key);
    // Fills `descriptor` with a DACL granting KEY_ALL_ACCESS to the user and to LocalSystem; the
    // ACL, allocated here, is handed back in `acl` for the caller to free after use.
    bool BuildFullAccessSecurity(PSID userSid, PSECURITY_DESCRIPTOR descriptor, PACL* acl);
    void SetKeySecurity(HKEY root, const std::string& key, PSECURITY_DESCRIPTOR descriptor, bool recursive);
    bool IsNT5OrLater();

    // ---- Removal and shredder
    // Deletes the entry at `path` by its name, never through it: a link stays where it is. A file
    // with other names loses only this one. False when nothing was deleted.
    bool DeleteEntry(const std::string& path);
    // What shredding did before a deletion, for the record.
    struct Overwritten {
        bool wanted = false; // shredding was on for this file
        Overwrite overwrite = Overwrite::None;
        std::string note;
    };
    void RemoveFile(const std::string& path);
    bool ShredFile(const std::string& path);
    // A failed or short write or a failed flush is PassFailed, a failed read VerifyFailed: the
    // file is then left in place, never deleted as if it had been shredded.
    PassResult WritePass(const std::string& path, uint8_t value);
    VerifyResult VerifyPass(const std::string& path, uint8_t value);
    // A cancel of the threaded run that is executing now.
    bool ShredStopRequested() const;

    // ---- Windows history
    virtual void EmptyRecycleBin();
    virtual void ClearRecentDocuments();
    virtual void EmptyRecentItems();
    virtual void ClearClipboard(HWND owner);
    virtual void EmptyTempFolders();
    virtual void ClearRunHistory();
    virtual void ClearSearchFilesHistory();
    virtual void ClearSearchComputersHistory();
    virtual void ClearUserAssist();
    virtual void ClearStreams();
    virtual void ClearOpenSaveHistory();
    void WritePageFileSetting(bool on);
    // What Windows 10 and 11 keep besides (engine/cleaners/windows_current.cpp).
    virtual void ClearExplorerLists();
    // Removes the thumbnail and icon caches nobody holds; those Explorer holds are left or, with
    // `atNextStart`, handed to Windows to remove when it next starts.
    virtual void ClearThumbnailCaches();
    void RemoveThumbnailCaches(bool atNextStart);
    virtual void ClearErrorReports();
    virtual void ClearPowerShellHistory();
    virtual void ClearClipboardHistory();
    virtual void ClearTimeline();
    virtual void ResetJumpLists();
    virtual void ClearShellBags();
    // The recent and frequent entries of every application's jump list, through the shell, which
    // keeps what the user pinned.
    void ClearJumpListEntries();

    // Zeroes every "index.dat" directly in the listed folders after its first 32 bytes, up to the
    // size limit. A file that cannot be opened is skipped; the other folders are still done.
    void ClearIndexDatContent(const FolderList& folders);
    // Records an index.dat whose content was zeroed in place (`bytes` of it).
    void RecordCleared(const std::string& path, uint64_t bytes);

    // ---- Cleaners not written yet do nothing. One block per family, each in its own source.

    // Internet Explorer family and index.dat (engine/cleaners/ie.cpp, index_dat.cpp).
    virtual void ClearIEHistory();
    virtual void ClearIECache();
    virtual void ClearIECookies();
    virtual void ClearIEPasswords();
    virtual void ClearIEDownloads();
    virtual void ClearIEMostPopularSites();
    virtual void ClearIELastSession();
    virtual void ClearHistoryIndexDat();
    virtual void ClearCacheIndexDat();
    virtual void ClearCookiesIndexDat();
    virtual void DeleteIEIndexDatFiles();
    // Writes "index.bat" and its RunOnce value when any flag is set, removes both otherwise.
    virtual void ScheduleIndexDatDeletion(bool history, bool cache, bool cookies);
    // Steps of the cleaners above.
    // The URL history object's ClearHistory; nothing happens where it cannot be created (no COM
    // on this thread) or does not implement it.
    void ClearUrlHistoryStore();
    void ClearIEProtectedStorage();
    // MSN Explorer's Protected Storage items: site passwords with the IE password option, the
    // other items with the IE history option.
    void ClearMSNProtectedStorage();
    void ClearMaxthonHistory();
    // Empties the "[typedurls]" section of "Config.ini" in each folder.
    void ClearMaxthonTypedUrls(const FolderList& folders);
    void ClearAOLHistory();
    // Deletes the WinINet cache entries that are cookies (`cookies`, from the "Cookie:" container)
    // or all the others (!`cookies`: the content and "Visited:" containers).
    // With `keep`, a cookie of a kept site stays.
    void DeleteUrlCacheEntries(bool cookies, const CookieKeepList* keep = nullptr);
    // One container's walk: `pattern` as FindFirstUrlCacheEntryA takes it (null: the content).
    void DeleteUrlCacheEntriesIn(const char* pattern, bool cookies, const CookieKeepList* keep = nullptr);
    // Tests: told the search pattern of each WinINet cache walk (null for the content container).
    std::function<void(const char* pattern)> onUrlCacheSearch;
    // End of the Internet Explorer family.

    // Mozilla family, Chrome, Opera and Safari (engine/cleaners/mozilla.cpp,
    // chrome_opera_safari.cpp).
    virtual void ClearFirefoxHistory();
    virtual void ClearFirefoxCache();
    virtual void ClearFirefoxCookies();
    virtual void ClearFirefoxPasswords();
    virtual void ClearFirefoxDownloads();
    virtual void PurgeFirefoxHistoryDatabase();
    // The session files (open tabs and windows, form contents, session cookies) and the saved form
    // data of every profile of the Firefox family.
    virtual void ClearFirefoxSessions();
    virtual void ClearFirefoxFormData();
    // The profiles of the Firefox family, as Firefox finds them (engine/cleaners/firefox.cpp).
    struct FirefoxProfileFolders {
        std::string browser, name;
        std::string folder; // roaming: databases, sessions, passwords
        std::string local;  // caches
    };
    std::vector<FirefoxProfileFolders> FindFirefoxProfiles();
    enum class FirefoxTrace { History, Cache, Cookies, Passwords, Downloads, Sessions, FormData };
    // What each Firefox cleaner removes in every profile of the family, beyond the folders in
    // `done` that the cleaner's own steps have cleaned already.
    void CleanFirefoxProfiles(FirefoxTrace trace, const FolderList& done);
    virtual void ClearMozillaHistory();
    virtual void ClearMozillaCache();
    virtual void ClearMozillaCookies();
    virtual void ClearMozillaPasswords();
    virtual void ClearMozillaDownloads();
    virtual void ClearNetscapeHistory();
    virtual void ClearNetscapeCache();
    virtual void ClearNetscapeCookies();
    virtual void ClearNetscapePasswords();
    virtual void ClearNetscapeDownloads();
    virtual void ClearSafariHistory();
    virtual void ClearSafariCache();
    virtual void ClearSafariCookies();
    virtual void ClearSafariPasswords();
    virtual void ClearSafariDownloads();
    virtual void ClearOperaHistory();
    virtual void ClearOperaCache();
    virtual void ClearOperaCookies();
    virtual void ClearOperaPasswords();
    virtual void ClearOperaDownloads();
    virtual void ClearOperaSpeedDial();
    virtual void ClearChromeHistory();
    virtual void ClearChromeCache();
    virtual void ClearChromeCookies();
    virtual void ClearChromePasswords();
    virtual void ClearChromeDownloads() {} // stays empty: the download list goes with the history
    // The Chromium family (engine/cleaners/chromium.cpp): every profile of every browser of a page
    // (Chrome's channels and Chromium; Edge's; Brave; Vivaldi; today's Opera and Opera GX).
    virtual void ClearChromeSessions();
    virtual void ClearChromeFormData();
    virtual void ClearEdgeHistory();
    virtual void ClearEdgeCache();
    virtual void ClearEdgeCookies();
    virtual void ClearEdgePasswords();
    virtual void ClearEdgeDownloads();
    virtual void ClearEdgeSessions();
    virtual void ClearEdgeFormData();
    virtual void ClearBraveHistory();
    virtual void ClearBraveCache();
    virtual void ClearBraveCookies();
    virtual void ClearBravePasswords();
    virtual void ClearBraveDownloads();
    virtual void ClearBraveSessions();
    virtual void ClearBraveFormData();
    virtual void ClearVivaldiHistory();
    virtual void ClearVivaldiCache();
    virtual void ClearVivaldiCookies();
    virtual void ClearVivaldiPasswords();
    virtual void ClearVivaldiDownloads();
    virtual void ClearVivaldiSessions();
    virtual void ClearVivaldiFormData();
    virtual void ClearOperaTodayHistory();
    virtual void ClearOperaTodayCache();
    virtual void ClearOperaTodayCookies();
    virtual void ClearOperaTodayPasswords();
    virtual void ClearOperaTodayDownloads();
    virtual void ClearOperaTodaySessions();
    virtual void ClearOperaTodayFormData();
    struct ChromiumProfileFolders {
        std::string browser;   // "Google Chrome Beta", "Opera GX"
        std::string name;      // as the browser shows it, else the folder's name
        std::string folder;    // databases, sessions, site data
        std::string cache;     // its caches: the same folder, except for Opera
        std::string root;      // the folder of "Local State" and the shader caches
        std::string cacheRoot; // the same, on the caches' side
    };
    // The profiles of the browsers whose page bits are in `browsers`: those Local State lists and
    // the folders that hold a Preferences file, never one reached through a link.
    std::vector<ChromiumProfileFolders> FindChromiumProfiles(uint32_t browsers);
    // The sites that have cookies now, in every store the cookie options clean (the Chromium
    // family's and the Firefox family's databases, Internet Explorer's cookie files and WinINet's
    // cookie entries), read without changing a byte: hosts as CookieHostKey gives them, sorted, each
    // once (engine/cleaners/cookie_sites.cpp).
    std::vector<std::string> SitesWithCookies();
    enum class ChromiumTrace { History, Cache, Cookies, Passwords, Downloads, Sessions, FormData };
    void CleanChromiumProfiles(ChromiumTrace trace, uint32_t browsers);
    // The editors of profile text files. A file that cannot be opened (held locked by a running
    // browser) is skipped and the other files and folders are still edited.
    void ClearPrefsDownloadDirs(const FolderList& folders);
    void ClearUrlbarHistory(const FolderList& folders);
    // Removes the disk-cache files of the folder that one "prefs.js" names; "File open error %d"
    // when that prefs.js cannot be opened.
    void ClearCacheFolderFromPrefs(const std::string& prefsPath);
    void ClearOperaIniDirs(const FolderList& folders);
    void ClearSafariPlistEntries(const FolderList& folders);
    // End of the Mozilla family, Chrome, Opera and Safari.

    // Applications (engine/cleaners/applications.cpp).
    virtual void ClearToolbarHistory();
    virtual void ClearOfficeHistory();
    virtual void ClearMediaPlayerHistory();
    virtual void ClearGoogleDesktopHistory();
    virtual void ClearSkypeCalls();
    virtual void ClearSkypeChats();
    virtual void PurgeSkypeDatabase();
    virtual void ClearAcrobatReaderRecentFiles();
    virtual void ClearAdobeAcrobatRecentFiles();
    virtual void ClearAcrobatDataFolder();
    virtual void ClearAcrobatOrganizerHistory();
    virtual void ClearAcrobatCollections();
    // Empties the "<LastDialedNumbers>" element of the "config.xml" in each folder that has one. A
    // file that cannot be opened is skipped; the other folders are still done.
    void ClearSkypeLastDialed(const FolderList& folders);
    // End of the applications.

    // Asks, through the observer, to close a running Skype or Google Desktop; false when the user
    // keeps it (its cleaners are then skipped).
    // A preview asks nothing; a program the user keeps running is recorded as left.
    virtual bool PromptCloseSkype();
    virtual bool PromptCloseGoogleDesktop();

protected:
    // The folder GetTempPathA gives, in its long form, without a trailing separator; empty when
    // there is none.
    std::string UserTempFolder() const;
    // SHGetSpecialFolderPathA with the observer's window as owner, not created; empty when the
    // lookup fails.
    std::string ShellFolder(int csidl) const;

private:
    class WalkedFolder;
    template <class Visit> void ForEachEntry(const std::string& folder, Visit&& visit);
    // The folder a walk is asked to start in is neither a link nor a placeholder.
    bool IsWalkableRoot(const std::string& folder);
    bool KeyExistsInSomeView(HKEY root, const std::string& key) const;
    // Records a key, or a value of it (`value`), as removed.
    void RecordKeyGone(HKEY root, const std::string& key, ItemKind kind, const std::string& value = {});
    void ApplyRemovalRule(const std::string& path, const WalkedFolder& folder, bool allowShred);
    bool DeleteEntryIn(const std::string& path, const std::string& folderFinal);
    bool DeleteEntryIn(const std::string& path, const std::string& folderFinal, const Overwritten& shred);
    void RemoveFileIn(const std::string& path, const std::string& folderFinal);

    ClearingObserver* observer_ = nullptr;
    ShredRandom random_;
    mutable std::mutex lastRecordGuard_;
    std::shared_ptr<const RunRecord> lastRecord_;
    int walkDepth_ = 0; // how deep ForEachEntry is below the folder a walk started in
    DWORD lastPassError_ = ERROR_SUCCESS; // why the last pass could not open its file
    uint64_t itemsLeft_ = 0;              // how many items were recorded as left so far
    bool shredEndRecorded_ = false;       // ShredFile's deletion has recorded the file
};

// The process's one cleaner, bound to Settings().
HistoryCleaner& Cleaner();

// "HKEY_CURRENT_USER" and the other roots' names, as the report shows them.
std::string RegistryRootName(HKEY root);

// The deletion procedure of DeleteRegistryTree in one registry view: 0 for the default view
// (RegDeleteKeyA), KEY_WOW64_64KEY or KEY_WOW64_32KEY (RegDeleteKeyExA, looked up at run time).
bool DeleteRegistryTreeInView(HKEY root, const std::string& key, REGSAM view);
