// Loading and saving settings.dat in the installation folder.
#include <windows.h>

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

// Whatever the file lacks keeps its default: a record read into zeros would be an invisible program
// without hot keys or confirmations, and it would be written back at exit. A damaged file is
// copied to settings.dat.bad before anything can overwrite it, and the user is told where it went.
bool ProgramSettings::LoadSettings() {
    const std::string path = SettingsPath();
    ApplyDefaults();
    keepFileAside = false;
    if (!FileExists(path)) return false;

    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
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
    if (CopyFileA(path.c_str(), KeptAsidePath().c_str(), FALSE)) {
        text += "\nIt was kept as \"" + KeptAsidePath() + "\". " +
                (result == ParseResult::WrongHeader ? "The program starts with its default settings."
                                                    : "The settings it lacked are back to their defaults.");
    } else {
        keepFileAside = true;
    }
    ShowMessage(nullptr, "Error", "", text.c_str(), IDI_BOX_MESSAGE);
    return result == ParseResult::Short;
}

// The new contents go to a file beside settings.dat, which then replaces the old one in one step:
// a failed write never leaves a half-written or empty settings file behind.
bool ProgramSettings::SaveSettings() {
    const std::string path = SettingsPath();
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
