#pragma once
// The portable half of finding running programs: the programs the prompts know, the window census
// with its rules about which windows count, the match of a module path against an executable name,
// and the decisions of the closing prompts. Portable: the census is filled by
// control/running_programs.cpp, which alone talks to Windows.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A program as the prompts name it, and the executable file that identifies it.
struct KnownProgram {
    const char* name;
    const char* executable;
};

// The browsers in the order used wherever all browsers are handled: the ten the program always
// knew, then the ones built on Chromium that came since.
enum BrowserIndex {
    BrowserIndexIE,
    BrowserIndexMsnExplorer,
    BrowserIndexAolExplorer,
    BrowserIndexMaxthon,
    BrowserIndexFirefox,
    BrowserIndexOpera,
    BrowserIndexMozilla,
    BrowserIndexNetscape,
    BrowserIndexSafari,
    BrowserIndexChrome,
    BrowserIndexEdge,
    BrowserIndexBrave,
    BrowserIndexVivaldi,
    kBrowserCount
};
std::span<const KnownProgram> KnownBrowsers();
extern const KnownProgram kSkypeProgram;          // "Skype", "skype.exe"
extern const KnownProgram kSkypePmProgram;        // "SkypePM", "skypepm.exe"
extern const char kAolCompanionExecutable[];      // "aolsoftware.exe"
// The executables that stand for Google Desktop, as they appear in an upper-case module path.
std::span<const char* const> GoogleDesktopExecutables();

// The part of a module path after its last backslash (the whole path when it has none) is the
// executable name, compared without regard to case.
bool ModuleMatchesExecutable(std::string_view modulePath, std::string_view executable);

// One census of top-level windows. Only the first window of a title counts, windows without a
// title, the desktop ("Program Manager") and windows whose module could not be read are left out.
// The all-window census keeps title and path in upper case.
class WindowCensus {
public:
    struct Entry {
        std::string title;
        std::string path;
        void* window = nullptr;
        uint32_t processId = 0;
    };

    explicit WindowCensus(bool upperCase = false) : upperCase_(upperCase) {}
    bool upperCase() const { return upperCase_; }

    // Whether a window of this title would still be looked at: not empty, not the desktop and not
    // already counted. Lets the caller skip reading a module it would throw away.
    bool Wants(std::string_view title) const;
    // Adds the window when it counts (see above); true when it was added.
    bool Offer(std::string_view title, std::string_view path, void* window, uint32_t processId);

    // The first entry (in census order) whose module is `executable`, or null.
    const Entry* Find(std::string_view executable) const;
    // The first entry whose module path contains `name` (as stored, case-sensitive), or null.
    const Entry* FindPathContaining(std::string_view name) const;
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::string Stored(std::string_view text) const;
    bool upperCase_;
    std::vector<Entry> entries_;
};

// AOL Explorer leaves its companion program behind; when AOL Explorer itself has no window but the
// companion has, the close prompt may end the companion (after the user's Yes). Only for "AOL
// Explorer".
bool ShouldEndAolCompanion(std::string_view displayName, bool browserFound, bool companionFound);

// Browsers built on Chromium go on running without a window (for their extensions and
// notifications) and hold their history and cookies meanwhile.
bool RunsInBackground(std::string_view executable);
// The question before such a browser, running with no window, is ended.
std::string BackgroundClosePrompt(std::string_view displayName);

// The close prompt's text for a browser: MSN Explorer can only be exited by the user.
std::string BrowserClosePrompt(std::string_view displayName);
// What a Yes to the close prompt means: close one window and look again, or (MSN Explorer) take
// the user's word that it has been exited.
bool YesClosesWindow(std::string_view displayName);

// The Google Desktop check, apart from the windows: passes over the executables; in a pass, from
// the first executable found on, the question comes after the check of that name and of every
// later one. `running(name)` looks for a name; `askKeep()` shows the question and returns true when
// the user declines (keeps Google Desktop open). True when declined; false once a pass finds nothing.
bool GoogleDesktopCheck(const std::function<bool(const char*)>& running, const std::function<bool()>& askKeep);
