#include "setup/launch_rules.h"

std::uint32_t InstallerVersionFromDll(std::uint32_t major, std::uint32_t minor) {
    return ((major & 0xFFFFu) << 16) | (minor & 0xFFFFu);
}

bool RefusesSystem(std::uint32_t installerVersion, std::uint32_t platformId, std::uint32_t majorVersion,
                   std::uint32_t minorVersion) {
    if (installerVersion >= kInstallerVersion2) return false;
    const bool windows9xOrNt = platformId == 1 || platformId == 2;
    return windows9xOrNt && majorVersion == 4 && minorVersion == 0;
}

std::string PackagePath(const std::string& folder) { return folder + "Zephyrlanthorpe.msi"; }

std::string InstallCommand(const std::string& packagePath) {
    if (packagePath.find_first_of(" \t") == std::string::npos) return "msiexec /i " + packagePath;
    return "msiexec /i \"" + packagePath + "\"";
}
