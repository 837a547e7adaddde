#pragma once
// The program's path from its own command line, for the "Start with Windows" value. Portable.
#include <string>
#include <string_view>

// The first argument of a command line: quoted ("C:\Program Files\x\zlt.exe" ...) or not
// (C:\x\zlt.exe ...), without its quotes and without what follows it.
std::string ProgramPathFromCommandLine(std::string_view commandLine);
