// options.ini beside settings.dat in the user's own folder: read with the settings, written with
// them, whole and in one step.
#include <windows.h>

#include "app/option_keys.h"
#include "app/settings.h"
#include "platform/handles.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

namespace {

// Far above any options.ini a person or the program writes.
constexpr DWORD kLargestOptionsFile = 4 << 20;

bool ReadWhole(const std::string& path, std::string& text, bool& missing) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    missing = !file.valid() && (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
    if (!file.valid()) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kLargestOptionsFile) return false;
    text.resize(size);
    DWORD got = 0;
    return size == 0 || (ReadFile(file.get(), text.data(), size, &got, nullptr) && got == size);
}

} // namespace

std::string ProgramSettings::OptionsPath() const {
    return dataFolder.empty() ? std::string() : dataFolder + "\\options.ini";
}

bool ProgramSettings::LoadOptions() {
    options = OptionsIni{};
    optionsDamaged = keepOptionsFile = false;
    const std::string path = OptionsPath();
    if (path.empty()) return false;
    std::string text;
    bool missing = false;
    if (!ReadWhole(path, text, missing)) {
        if (missing) return true; // the first start: every option has its default
        // Unreadable for now (held, denied): kept as it is and never written over this time.
        optionsDamaged = true;
        keepOptionsFile = true;
        return false;
    }
    if (std::optional<OptionsIni> parsed = OptionsIni::Parse(text)) {
        options = std::move(*parsed);
        return true;
    }
    // Damaged: kept aside for the user, the options take their defaults, and what depends on a
    // sound file (the cookies to keep) does nothing until the file is written anew.
    optionsDamaged = true;
    // The mark goes into the file written next, so that the next start does not read the lost
    // list as an empty one; saving the list again takes it away.
    options.Set(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged, "1");
    const std::string aside = path + ".bad";
    std::string message = "options.ini could not be read";
    if (CopyFileA(path.c_str(), aside.c_str(), FALSE)) message += "\nIt was kept as \"" + aside + "\".";
    message += " Its options are back to their defaults, and no cookies are removed until the list of cookies to "
               "keep has been saved again.";
    ShowMessage(nullptr, "Error", "", message.c_str(), IDI_BOX_MESSAGE);
    return false;
}

bool ProgramSettings::SaveOptions() {
    const std::string path = OptionsPath();
    if (path.empty() || keepOptionsFile) return false;
    if (!CreateDirectoryA(dataFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const std::string text = options.Serialize();
    const std::string temp = path + ".new";
    bool written;
    {
        ScopedHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        DWORD count = 0;
        written = file.valid() &&
                  (text.empty() || (WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
                                    count == text.size())) &&
                  FlushFileBuffers(file.get());
    }
    if (!written || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}
