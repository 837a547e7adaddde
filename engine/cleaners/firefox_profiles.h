#pragma once
// Where the Firefox family keeps its profiles, as Firefox itself finds them: "profiles.ini" (one
// section per profile: Path, IsRelative) and "installs.ini" (each installation's default profile),
// beside the "Profiles" folder. Portable: no Windows header.
#include <string>
#include <string_view>
#include <vector>

struct ProfileReference {
    std::string path;      // as the file writes it: "Profiles/abcd.default-release" or "D:\\FF\\Work"
    bool relative = true;  // to the folder that holds profiles.ini
};

// Every profile that profiles.ini names (a section whose Path and IsRelative are both there, as
// Firefox requires) and every default profile of installs.ini, in file order, each once
// (compared without regard to case and slash direction).
std::vector<ProfileReference> ProfilesFromIni(std::string_view profilesIni, std::string_view installsIni);

// The path of a relative profile below `root` ("/" made "\\"); an absolute one as it stands.
std::string ProfileFolder(const std::string& root, const ProfileReference& profile);
