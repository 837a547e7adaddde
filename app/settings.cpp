#include "app/settings.h"

#include <mutex>

namespace {
// The shredder sets the file name on the worker thread while the progress window reads it.
std::mutex currentFileLock;
} // namespace

ProgramSettings& Settings() {
    static ProgramSettings settings;
    return settings;
}

namespace {
// `folder` ends with a backslash or not (Windows Installer reports folders with one).
std::string InFolder(const std::string& folder, const char* name) {
    if (folder.empty()) return {};
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
}
} // namespace

std::string ProgramSettings::SettingsPath() const { return InFolder(dataFolder, "settings.dat"); }

std::string ProgramSettings::KeptAsidePath() const { return SettingsPath() + ".bad"; }

std::string ProgramSettings::ReportsFolder() const { return InFolder(localDataFolder, "Reports"); }

std::string ProgramSettings::SharedSettingsPath() const { return InFolder(installFolder, "settings.dat"); }

void ProgramSettings::ClearRunFlags() {
    stopRequested = 0;
    runActive = 0;
    exitAfterRun = 0;
}

void ProgramSettings::RebuildShredMethods() { shredMethods.assign(1, BuiltInShredMethod()); }

void ProgramSettings::ApplyDefaults() {
    // The stored fields take the initial values of a new record. Run-time fields that belong to
    // their owners stay: the folders, the file being shown, the keep-aside order, and `exiting`,
    // which only the exit path sets.
    ProgramSettings defaults;
    defaults.installFolder = std::move(installFolder);
    defaults.dataFolder = std::move(dataFolder);
    defaults.localDataFolder = std::move(localDataFolder);
    defaults.currentFileText = CurrentFileText();
    defaults.keepFileAside = keepFileAside;
    defaults.exiting = exiting;
    *this = std::move(defaults);
}

void ProgramSettings::ApplyDefaultPlacement() {
    const ProgramSettings defaults;
    windowLeft = defaults.windowLeft;
    windowTop = defaults.windowTop;
    windowWidth = defaults.windowWidth;
    windowHeight = defaults.windowHeight;
    windowShowCmd = defaults.windowShowCmd;
}

ShredMethod BuiltInShredMethod() {
    ShredMethod m;
    m.name = "U.S. DoD 5220.22-M (E)";
    m.passCount = 3;
    m.verifyMode = 0;
    m.deleteMode = 0;
    m.passes = {"Random", "Complement", "Random"};
    return m;
}

bool SettingRef::Read(const ProgramSettings& s) const {
    switch (kind) {
    case ByteFlag: return s.*byteFlag != 0;
    case DwordFlag: return s.*dwordFlag != 0;
    case MaskBit: return (s.*mask & bit) != 0;
    case IniFlag: return s.options.GetBool(section, key, defaultOn);
    }
    return false;
}

void SettingRef::Write(ProgramSettings& s, bool on) const {
    switch (kind) {
    case ByteFlag: s.*byteFlag = on ? 1 : 0; break;
    case DwordFlag: s.*dwordFlag = on ? 1 : 0; break;
    case MaskBit:
        if (on)
            s.*mask |= bit;
        else
            s.*mask &= ~bit;
        break;
    case IniFlag: s.options.SetBool(section, key, on); break;
    }
}

void ProgramSettings::SetCurrentFileText(const std::string& text) {
    std::lock_guard<std::mutex> lock(currentFileLock);
    currentFileText = text;
}

std::string ProgramSettings::CurrentFileText() const {
    std::lock_guard<std::mutex> lock(currentFileLock);
    return currentFileText;
}
