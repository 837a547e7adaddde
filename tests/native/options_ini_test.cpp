// options.ini: what the program does not know survives a save word for word, values land in their
// sections, lists keep their order, and a damaged file is told from a sound one.
#include <gtest/gtest.h>

#include "app/options_ini.h"

TEST(OptionsIni, UnknownSectionsKeysAndCommentsSurviveASave) {
    const std::string text = "; written by a newer version\r\n[Google Chrome]\r\nSessions=1\r\nFuture=kept as is\r\n\r\n"
                             "[Unknown Page]\r\nsomething = else  \r\n";
    std::optional<OptionsIni> ini = OptionsIni::Parse(text);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->Serialize(), text);
    ini->SetBool("google chrome", "sessions", false); // sections and keys in any case
    ini->SetBool("Google Chrome", "Form Data", true);
    ini->Set("Mozilla Firefox", "Sessions", "1");
    EXPECT_EQ(ini->Serialize(), "; written by a newer version\r\n[Google Chrome]\r\nSessions=0\r\nFuture=kept as is\r\n"
                                "Form Data=1\r\n\r\n[Unknown Page]\r\nsomething = else  \r\n\r\n"
                                "[Mozilla Firefox]\r\nSessions=1\r\n");
    EXPECT_EQ(ini->Get("Unknown Page", "SOMETHING"), "else");
    EXPECT_FALSE(ini->Get("Unknown Page", "missing"));
}

TEST(OptionsIni, BooleansFallBackOnAnythingButOneOrZero) {
    const auto ini = OptionsIni::Parse("[P]\nA=1\nB=0\nC=yes\n");
    ASSERT_TRUE(ini);
    EXPECT_TRUE(ini->GetBool("P", "A", false));
    EXPECT_FALSE(ini->GetBool("P", "B", true));
    EXPECT_TRUE(ini->GetBool("P", "C", true));
    EXPECT_FALSE(ini->GetBool("P", "C", false));
    EXPECT_TRUE(ini->GetBool("Q", "A", true));
}

TEST(OptionsIni, AListKeepsItsOrderAndReplacesOnlyItsOwnLines) {
    auto ini = OptionsIni::Parse("[Cookies to keep]\r\nsite=b.example\r\nnote=mine\r\nsite=a.example\r\n");
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->GetAll("Cookies to keep", "site"), (std::vector<std::string>{"b.example", "a.example"}));
    ini->SetAll("Cookies to keep", "site", {"example.com", "192.168.1.10:8080"});
    EXPECT_EQ(ini->Serialize(), "[Cookies to keep]\r\nnote=mine\r\nsite=example.com\r\nsite=192.168.1.10:8080\r\n");
    ini->SetAll("Cookies to keep", "site", {});
    EXPECT_TRUE(ini->GetAll("Cookies to keep", "site").empty());
    // Values hold UTF-8 as it is.
    ini->SetAll("Cookies to keep", "site", {"b\xC3\xBC" "cher.example"});
    EXPECT_EQ(OptionsIni::Parse(ini->Serialize())->GetAll("Cookies to keep", "site"),
              std::vector<std::string>{"b\xC3\xBC" "cher.example"});
}

TEST(OptionsIni, ADamagedFileIsToldApart) {
    using namespace std::string_literals;
    for (const std::string& damaged : {"[Page\r\nA=1\r\n"s, "just words\r\n"s, "[]\r\n"s, "=value\r\n"s,
                                       "[P]\r\nA=\0001\r\n"s, "[P]\r\nA=\xFF\xFE\r\n"s, "[P]\r\nA=\xC3\r\n"s})
        EXPECT_FALSE(OptionsIni::Parse(damaged)) << damaged;
    for (const char* sound : {"", "\r\n", "\xEF\xBB\xBF[P]\r\nA=1\r\n", "[P]\nA=\n", "# comment\n[P]\nA = b = c\n"})
        EXPECT_TRUE(OptionsIni::Parse(sound)) << sound;
    EXPECT_EQ(OptionsIni::Parse("[P]\nA = b = c\n")->Get("P", "A"), "b = c");
    // Two marks in front: read once as a key and once as a mark, the file would change each time
    // it is saved.
    const std::optional<OptionsIni> twice = OptionsIni::Parse("\xEF\xBB\xBF\xEF\xBB\xBF; note\r\n[P]\r\nA=1\r\n");
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->Serialize(), "; note\r\n[P]\r\nA=1\r\n");
}
