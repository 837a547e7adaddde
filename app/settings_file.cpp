// Loading and saving settings.dat in the user's own application-data folder.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "app/file_error.h"
#include "app/settings.h"
#include "app/settings_format.h"
#include "platform/handles.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

namespace {

// Far above any file this program writes (179 bytes plus a 64-character digest); a larger file is
// read only this far.
constexpr DWORD kMaxSettingsRead = 1 << 20;

void ShowFileError(const char* format, DWORD error) {
    char text[64];
    std::snprintf(text, sizeof text, format, FileErrorCauseFromWin32(error));
    ShowMessage(nullptr, "Error", "", text, IDI_BOX_MESSAGE);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

} // namespace

void SetUserFolders(ProgramSettings& settings) {
    char folder[MAX_PATH] = {};
    settings.dataFolder = SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE)
                              ? std::string(folder) + "\\Zephyrlanthorpe"
                              : std::string();
    settings.localDataFolder = SHGetSpecialFolderPathA(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE)
                                   ? std::string(folder) + "\\Zephyrlanthorpe"
                                   : std::string();
}

// Whatever the file lacks keeps its default: a record read into zeros would be an invisible program
// without hot keys or confirmations, and it would be written back at exit. A damaged file is
// copied to settings.dat.bad before anything can overwrite it, and the user is told where it went.
//
// settings.dat belongs to one user. Older versions kept one for every user in the program's folder,
// where any user could read another's password digest and rewrite another's options: a user who
// has none of their own yet takes that one over (through the same reader) and keeps it from then
// on; the shared file stays where it is, for the other users and for the uninstaller.
bool ProgramSettings::LoadSettings() {
    const bool loaded = LoadSettingsFile();
    LoadOptions();
    return loaded;
}

bool ProgramSettings::LoadSettingsFile() {
    ApplyDefaults();
    keepFileAside = false;
    const std::string path = SettingsPath();
    if (path.empty()) return false;
    if (FileExists(path)) return ReadSettingsFile(path);

    const std::string shared = SharedSettingsPath();
    if (shared.empty() || !FileExists(shared)) return false;
    bool opened = false;
    const bool read = ReadSettingsFile(shared, &opened);
    // Nothing is ever moved aside in the shared folder; a file that could not be opened is tried
    // again at the next start.
    keepFileAside = false;
    if (opened) SaveSettings();
    return read;
}

bool ProgramSettings::ReadSettingsFile(const std::string& path, bool* opened) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (opened) *opened = file.valid();
    if (!file.valid()) {
        // Perhaps only held by another program for a moment: the file may be sound, so the save at
        // exit moves it aside rather than writing defaults over it.
        keepFileAside = true;
        ShowFileError("File open error %d", GetLastError());
        return false;
    }
    std::vector<uint8_t> bytes;
    DWORD size = GetFileSize(file.get(), nullptr);
    if (size != INVALID_FILE_SIZE) {
        bytes.resize(size < kMaxSettingsRead ? size : kMaxSettingsRead);
        DWORD got = 0;
        if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
            got = 0;
        bytes.resize(got);
    }
    file.Close();

    const ParseResult result = ParseSettings(bytes.data(), bytes.size(), *this);
    if (result == ParseResult::Ok) return true;
    std::string text = "Wrong settings.dat";
    if (MakeDataFolder() && CopyFileA(path.c_str(), KeptAsidePath().c_str(), FALSE)) {
        text += "\nIt was kept as \"" + KeptAsidePath() + "\". " +
                (result == ParseResult::WrongHeader ? "The program starts with its default settings."
                                                    : "The settings it lacked are back to their defaults.");
    } else {
        keepFileAside = true;
    }
    ShowMessage(nullptr, "Error", "", text.c_str(), IDI_BOX_MESSAGE);
    return result == ParseResult::Short;
}

bool ProgramSettings::MakeDataFolder() const {
    return CreateDirectoryA(dataFolder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The new contents go to a file beside settings.dat, which then replaces the old one in one step:
// a failed write never leaves a half-written or empty settings file behind.
bool ProgramSettings::SaveSettings() {
    const bool saved = SaveSettingsFile();
    SaveOptions();
    return saved;
}

bool ProgramSettings::SaveSettingsFile() {
    const std::string path = SettingsPath();
    if (path.empty() || !MakeDataFolder()) {
        ShowFileError("File open error %d", path.empty() ? ERROR_PATH_NOT_FOUND : GetLastError());
        return false;
    }
    const std::string temp = path + ".new";
    const std::vector<uint8_t> bytes = SerializeSettings(*this);
    if (keepFileAside && FileExists(path)) {
        if (!MoveFileExA(path.c_str(), KeptAsidePath().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ShowFileError("File open error %d", GetLastError());
            return false;
        }
    }
    keepFileAside = false;

    ScopedHandle file(
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ShowFileError("File open error %d", GetLastError());
        return false;
    }
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    DWORD writeError = GetLastError();
    if (!writeError) writeError = ERROR_HANDLE_DISK_FULL; // a short write without an error code
    file.Close();
    if (!written) {
        DeleteFileA(temp.c_str());
        ShowFileError("File write error %d", writeError);
        return false;
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(temp.c_str());
        ShowFileError("File open error %d", error);
        return false;
    }
    return true;
}
