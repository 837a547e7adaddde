// The Chromium family's portable steps: the profiles Local State names, the folders that are a
// user's profile or a web site's data, the edit of Preferences. (The statements run on real-schema
// databases in tests/wine/engine_chromium_test.cpp.)
#include <gtest/gtest.h>

#include "engine/cleaners/chromium_edits.h"

TEST(ChromiumProfiles, LocalStateGivesTheUsersProfilesWithTheirNamesInFileOrder) {
    const auto profiles = ProfilesFromLocalState(
        R"({"profile":{"info_cache":{"Profile 3":{"name":"Work"},"Default":{"name":"Person 1"},)"
        R"("Profile 5":{"avatar_icon":"x"},"System Profile":{"name":"s"},"Guest Profile":{},)"
        R"("..\\Elsewhere":{"name":"x"},"a/b":{}}}})");
    ASSERT_EQ(profiles.size(), 3u);
    EXPECT_EQ(profiles[0].folder, "Profile 3");
    EXPECT_EQ(profiles[0].name, "Work");
    EXPECT_EQ(profiles[1].folder, "Default");
    EXPECT_EQ(profiles[1].name, "Person 1");
    EXPECT_EQ(profiles[2].folder, "Profile 5");
    EXPECT_EQ(profiles[2].name, ""); // no name: the caller shows the folder's
    EXPECT_TRUE(ProfilesFromLocalState("not json").empty());
    EXPECT_TRUE(ProfilesFromLocalState(R"({"profile":{"last_used":"Default"}})").empty());
}

TEST(ChromiumProfiles, FolderNamesThatAreAProfileOrAWebSitesData) {
    for (const char* name : {"Default", "Profile 7", "Person-Two"}) EXPECT_TRUE(IsChromiumProfileFolder(name)) << name;
    for (const char* name : {"System Profile", "Guest Profile", "", "..", "a\\b", "C:x", "x..y"})
        EXPECT_FALSE(IsChromiumProfileFolder(name)) << name;
    for (const char* name : {"https_www.example.com_0.indexeddb.leveldb", "http_localhost_8080", "https_a.b_0"})
        EXPECT_TRUE(IsWebOriginFolder(name)) << name;
    for (const char* name : {"chrome-extension_abcdefgh_0.indexeddb.leveldb", "https_", "file__0", "Https_x_0",
                             "chrome_x_0", "httpsx_a_0"})
        EXPECT_FALSE(IsWebOriginFolder(name)) << name;
    EXPECT_TRUE(MayNameAnExtension("ORIGIN:chrome-extension_abc_0"));
    EXPECT_TRUE(MayNameAnExtension("\x01\x02xtension\x05 chrome-"));
    EXPECT_FALSE(MayNameAnExtension("ORIGIN:https_site.example_0\x00\x01 000"));
}

TEST(ChromiumEdits, PreferencesLoseOnlyTheServersTheBrowserTalkedTo) {
    EXPECT_EQ(PreferencesWithoutServerProperties(
                  R"({"net":{"http_server_properties":{"servers":[{"server":"https://a.example"}]},"x":1},"y":2})"),
              R"({"net":{"x":1},"y":2})");
    EXPECT_FALSE(PreferencesWithoutServerProperties(R"({"net":{"x":1}})"));
    EXPECT_FALSE(PreferencesWithoutServerProperties("{broken"));
}
