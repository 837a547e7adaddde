#pragma once
// The setup program's decisions that need no Windows: which installer and system versions it
// refuses, and the names it gives the written package and the installer's command line.
#include <cstdint>
#include <string>

// Windows Installer 2.0, the oldest one that can install the package on every system.
constexpr std::uint32_t kInstallerVersion2 = 0x20000;

// The installer version as (major << 16) | minor, from the two numbers that msi.dll's
// DllGetVersion reports; only the low 16 bits of each count.
std::uint32_t InstallerVersionFromDll(std::uint32_t major, std::uint32_t minor);

// True when setup must refuse to run: an installer older than 2.0 on Windows 95 or Windows NT 4.0
// (platform 1 or 2, version exactly 4.0). With installer 2.0 or later the system is not looked at.
bool RefusesSystem(std::uint32_t installerVersion, std::uint32_t platformId, std::uint32_t majorVersion,
                   std::uint32_t minorVersion);

// The package's path in setup's own folder, given with a trailing backslash.
std::string PackagePath(const std::string& folder);

// The installer's command line: "msiexec /i " and the path as formed, in quotation marks only when it
// holds a blank (msiexec would otherwise take the path for several arguments and open nothing).
std::string InstallCommand(const std::string& packagePath);
