#pragma once
// Which program holds a file open, for the report of what a clearing left. Asked only for the
// files that could not be opened: the Restart Manager answers on Vista and later; where it has
// nothing to say (XP, Wine) the system's handle table is searched for a handle of the same file.
#include <cstdint>
#include <string>

struct FileHolder {
    std::string program; // the executable's name, "firefox.exe"; empty when nobody was found
    uint32_t pid = 0;
};

FileHolder FindFileHolder(const std::string& path);

// The executable's file name of a running process ("firefox.exe"); empty when it cannot be asked.
std::string ProgramOfProcess(uint32_t pid);
