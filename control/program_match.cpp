#include "control/program_match.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

constexpr KnownProgram kBrowsers[kBrowserCount] = {
    {"Internet Explorer", "iexplore.exe"}, {"MSN Explorer", "msn6.exe"},    {"AOL Explorer", "aexplore.exe"},
    {"Maxthon2", "Maxthon.exe"},           {"Firefox", "firefox.exe"},      {"Opera", "Opera.exe"},
    {"Mozilla", "mozilla.exe"},            {"Netscape", "netscape.exe"},    {"Safari", "safari.exe"},
    {"Chrome", "chrome.exe"},              {"Microsoft Edge", "msedge.exe"}, {"Brave", "brave.exe"},
    {"Vivaldi", "vivaldi.exe"},
};

constexpr const char* kBackgroundBrowsers[] = {"chrome.exe", "msedge.exe", "brave.exe", "vivaldi.exe", "opera.exe"};

constexpr const char* kGoogleDesktop[] = {"GOOGLEDESKTOP.EXE", "GOOGLEDESKTOPCRAWL.EXE", "GOOGLEDESKTOPINDEX.EXE"};

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Upper(x) == Upper(y);
           });
}

} // namespace

const KnownProgram kSkypeProgram = {"Skype", "skype.exe"};
const KnownProgram kSkypePmProgram = {"SkypePM", "skypepm.exe"};
const char kAolCompanionExecutable[] = "aolsoftware.exe";

std::span<const KnownProgram> KnownBrowsers() { return kBrowsers; }
std::span<const char* const> GoogleDesktopExecutables() { return kGoogleDesktop; }

bool ModuleMatchesExecutable(std::string_view modulePath, std::string_view executable) {
    const size_t slash = modulePath.rfind('\\');
    const std::string_view name = slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    return SameIgnoringCase(name, executable);
}

std::string WindowCensus::Stored(std::string_view text) const {
    std::string stored(text);
    if (upperCase_) std::transform(stored.begin(), stored.end(), stored.begin(), Upper);
    return stored;
}

bool WindowCensus::Wants(std::string_view title) const {
    if (title.empty()) return false;
    const std::string stored = Stored(title);
    if (stored == (upperCase_ ? "PROGRAM MANAGER" : "Program Manager")) return false;
    return std::none_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.title == stored; });
}

bool WindowCensus::Offer(std::string_view title, std::string_view path, void* window, uint32_t processId) {
    if (path.empty() || !Wants(title)) return false;
    entries_.push_back({Stored(title), Stored(path), window, processId});
    return true;
}

const WindowCensus::Entry* WindowCensus::Find(std::string_view executable) const {
    for (const Entry& e : entries_)
        if (ModuleMatchesExecutable(e.path, executable)) return &e;
    return nullptr;
}

const WindowCensus::Entry* WindowCensus::FindPathContaining(std::string_view name) const {
    for (const Entry& e : entries_)
        if (e.path.find(name) != std::string::npos) return &e;
    return nullptr;
}

bool ShouldEndAolCompanion(std::string_view displayName, bool browserFound, bool companionFound) {
    return displayName == "AOL Explorer" && !browserFound && companionFound;
}

bool RunsInBackground(std::string_view executable) {
    return std::any_of(std::begin(kBackgroundBrowsers), std::end(kBackgroundBrowsers),
                       [&](const char* name) { return SameIgnoringCase(name, executable); });
}

std::string BackgroundClosePrompt(std::string_view displayName) {
    return std::string(displayName) + " is running in the background. Close it?";
}

bool YesClosesWindow(std::string_view displayName) { return displayName != "MSN Explorer"; }

std::string BrowserClosePrompt(std::string_view displayName) {
    const std::string n(displayName);
    if (!YesClosesWindow(displayName))
        return n + " is open.\nTo clear all history tracks it's necessary to EXIT it.\nTo exit " + n +
               ", right-click on its tray icon and select Exit " + n + ".\nIf you have already exited " + n +
               " click 'Yes'.\nOtherwise select 'No', but only some part of history will be cleaned.";
    return n + " is open.\nTo clear all history tracks it's necessary to close it.\nDo you want to close " + n +
           " now?\nIf you select 'No', only some part of history will be cleaned.";
}

bool GoogleDesktopCheck(const std::function<bool(const char*)>& running, const std::function<bool()>& askKeep) {
    for (;;) {
        bool found = false;
        for (const char* name : kGoogleDesktop) {
            if (running(name)) found = true;
            if (found && askKeep()) return true;
        }
        if (!found) return false;
    }
}
