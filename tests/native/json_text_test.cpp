// Browser JSON files read and edited by key path: everything not edited keeps its bytes.
#include <gtest/gtest.h>

#include "engine/cleaners/json_text.h"

namespace {
const char kLocalState[] = R"({"browser":{"enabled_labs_experiments":[]},
 "profile":{"info_cache":{"Default":{"name":"Person 1","avatar_icon":"chrome://theme/IDR_PROFILE_AVATAR_26"},
  "Profile 3":{"name":"W\u00fcrk \ud83d\ude00","is_using_default_name":false}},"last_used":"Profile 3"}})";
} // namespace

TEST(JsonText, ReadsKeysAndStringsByPath) {
    const auto json = JsonDocument::Parse(kLocalState);
    ASSERT_TRUE(json);
    EXPECT_EQ(json->Keys({"profile", "info_cache"}), (std::vector<std::string>{"Default", "Profile 3"}));
    EXPECT_EQ(json->String({"profile", "info_cache", "Default", "name"}), "Person 1");
    EXPECT_EQ(json->String({"profile", "info_cache", "Profile 3", "name"}), "W\xC3\xBC" "rk \xF0\x9F\x98\x80");
    EXPECT_FALSE(json->String({"profile", "info_cache"}));
    EXPECT_TRUE(json->Keys({"profile", "missing"}).empty());
    EXPECT_TRUE(json->Has({"browser", "enabled_labs_experiments"}));
}

TEST(JsonText, AMemberGoesWithItsCommaAndEverythingElseKeepsItsBytes) {
    const std::string prefs = R"({"net": {"http_server_properties": {"servers": [{"server": "https://secret.example"}], "version": 5}, "network_prediction_options": 2},
"bookmark_bar": {"show_on_all_tabs": true}})";
    const auto json = JsonDocument::Parse(prefs);
    ASSERT_TRUE(json);
    EXPECT_EQ(json->WithoutMember({"net", "http_server_properties"}),
              R"({"net": {"network_prediction_options": 2},
"bookmark_bar": {"show_on_all_tabs": true}})");
    // The last member of its object, and the only one.
    EXPECT_EQ(JsonDocument::Parse(R"({"a":1, "b": {"c":2}})")->WithoutMember({"b"}), R"({"a":1})");
    EXPECT_EQ(JsonDocument::Parse(R"({"b": { "c" : 2 } })")->WithoutMember({"b", "c"}), R"({"b": {} })");
    EXPECT_FALSE(json->WithoutMember({"net", "missing"}));
    EXPECT_EQ(JsonDocument::Parse(R"({"a":[1,2],"b":"x"})")->WithValue({"a"}, "[]"), R"({"a":[],"b":"x"})");
}

TEST(JsonText, NotJsonIsNothing) {
    for (const char* bad : {"", "{", R"({"a":})", R"({"a":1,})", R"(["a")", R"({"a":"\q"})", "{} x", R"({"a":"b)"})
        EXPECT_FALSE(JsonDocument::Parse(bad)) << bad;
    EXPECT_FALSE(JsonDocument::Parse(std::string(1000, '[') + std::string(1000, ']')));
    EXPECT_TRUE(JsonDocument::Parse(" [1, -2.5e3, true, null, \"s\"] "));
}
