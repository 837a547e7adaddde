#pragma once
// Which folders named in the registry the browser cleaners may walk. Portable: no Windows header.
//
// The suites' "Install Directory" values and Opera's "Last Directory2"/"Last Directory3" are walked
// to every depth and files of fixed names are removed in every folder found. A value that names a
// drive's root, a bare network share, a relative folder (taken from the current folder) or one
// that climbs out with ".." would turn that into a walk of a whole drive, so such a folder is
// not taken.
#include <string>
#include <string_view>
#include <vector>

bool IsWalkableRegistryFolder(std::string_view folder);

// Folders of the system a registry value may name but no browser owns: the Windows and Program
// Files folders, the folder that holds the users' profiles, and each user's profile root.
struct SystemFolders {
    std::vector<std::string> exact; // Windows, Program Files (both), ...
    std::string users;              // "C:\Users": itself and every folder directly in it
};
// `folder` is one of those (compared without regard to case, "/" as "\", trailing separators
// ignored).
bool IsSystemFolder(std::string_view folder, const SystemFolders& system);

// Lower case (ASCII), "/" as "\\", no trailing separator: how two folders are compared.
std::string NormalisedFolder(std::string_view folder);

// Whether the folder the user's TEMP names may be emptied: a folder of its own (see
// IsWalkableRegistryFolder), none of the system's, and neither one of `userFolders` (the profile
// root, Documents, the application data roots...) nor a folder that holds one of them.
bool MayEmptyTempFolder(std::string_view temp, const SystemFolders& system,
                        const std::vector<std::string>& userFolders);
