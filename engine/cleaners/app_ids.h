#pragma once
// The application IDs under which the shell keeps each program's jump list. Portable: no Windows
// header.
//
// A program that names no ID of its own gets one from the path of its executable, the folder it
// lies in written as the ID of that known folder: "C:\Program Files\Foo\foo.exe" on 64-bit Windows
// is "{6D809377-6AF0-444B-8957-A3773F02200E}\Foo\foo.exe".
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A known folder's path and its ID as the shell writes it in braces.
using KnownFolder = std::pair<std::string, std::string>;

// The ID of the program at `executable`, from the first of `knownFolders` that holds it (list the
// more specific folders first); the path itself when none does.
std::string ImplicitAppId(std::string_view executable, const std::vector<KnownFolder>& knownFolders);

// IDs without repeats (compared without regard to case), in the order first seen; empty ones and
// ones longer than the shell takes (128 characters) are left out.
std::vector<std::string> DistinctAppIds(const std::vector<std::string>& ids);
