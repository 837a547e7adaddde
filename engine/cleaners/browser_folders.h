#pragma once
// Which folders named in the registry the browser cleaners may walk. Portable: no Windows header.
//
// The suites' "Install Directory" values and Opera's "Last Directory2"/"Last Directory3" are walked
// to every depth and files of fixed names are removed in every folder found. A value that names a
// drive's root, a bare network share, a relative folder (taken from the current folder) or one
// that climbs out with ".." would turn that into a walk of a whole drive, so such a folder is
// not taken.
#include <string_view>

bool IsWalkableRegistryFolder(std::string_view folder);
