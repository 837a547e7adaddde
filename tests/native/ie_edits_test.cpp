// Maxthon "Config.ini" editing and the MSN Protected Storage item rules. Expected texts are written
// out by hand from the cut rule. Also the folders that the IE cleaners derive from the roaming one.
#include <gtest/gtest.h>

#include "engine/cleaners/ie_edits.h"
#include "engine/cleaners/index_dat_plan.h"

using namespace std::string_literals;

TEST(MaxthonConfig, TypedUrlsSectionKeepsItsHeaderAndTheNextSection) {
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[General]\r\nx=1\r\n[typedurls]\r\nurl1=http://a.example/\r\n"
                                            "url2=http://b.example/\r\n[Other]\r\ny=2\r\n"),
              "[General]\r\nx=1\r\n[typedurls]\r\n[Other]\r\ny=2\r\n");
    // Last section of the file: everything up to the final line feed goes.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[General]\r\n[typedurls]\r\nurl1=a\r\nurl2=b\r\n"),
              "[General]\r\n[typedurls]\r\n");
    // Line feeds only: the cut starts one character late, so an empty line is left behind.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\n[typedurls]\nurl1=x\n[b]\n"), "[a]\n[typedurls]\n\n[b]\n");
    // "url" is looked for anywhere after the section, not only inside it.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nx=1\r\n[b]\r\nurl=2\r\n"),
              "[a]\r\n[typedurls]\r\n[b]\r\nurl=2\r\n");
}

TEST(MaxthonConfig, BracketInsideAnAddressIsNoSection) {
    // Cut to the first "[" instead, the header line would run on into the rest of the address.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nurl1=http://a.example/?f[x]=1\r\n"
                                            "url2=http://[::1]/\r\n[b]\r\nx=1\r\n"),
              "[a]\r\n[typedurls]\r\n[b]\r\nx=1\r\n");
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nurl1=http://[::1]/\r\n"),
              "[a]\r\n[typedurls]\r\n");
}

TEST(MaxthonConfig, LastAddressWithoutALineBreakGoesWhole) {
    // Not one byte of the address is kept, and the header keeps its whole line break.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nurl1=a\r\nurl2=http://b.example/"),
              "[a]\r\n[typedurls]\r\n");
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\n[typedurls]\nurl1=http://b.example/"), "[a]\n[typedurls]\n");
}

TEST(MaxthonConfig, LeftAsItIs) {
    // At the very start of the file the section counts as absent.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[typedurls]\r\nurl1=a\r\n[b]\r\n"), std::nullopt);
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[TypedUrls]\r\nurl1=a\r\n[b]\r\n"), std::nullopt);
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\n[b]\r\nurl1=a\r\n"), std::nullopt);
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nfoo=1\r\n[b]\r\n"), std::nullopt);
    // The section name ends the file, or one character follows it.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]"), std::nullopt);
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r"), std::nullopt);
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls(""), std::nullopt);
}

TEST(MsnProtectedStorage, DisplayStringIsExactlyMsnUpToItsNul) {
    EXPECT_TRUE(IsMsnDisplayString("MSN"));
    EXPECT_TRUE(IsMsnDisplayString("MSN\0"s));
    EXPECT_TRUE(IsMsnDisplayString("MSN\0junk"s));
    EXPECT_FALSE(IsMsnDisplayString("msn"));
    EXPECT_FALSE(IsMsnDisplayString("MSN "));
    EXPECT_FALSE(IsMsnDisplayString("MSN Explorer"));
    EXPECT_FALSE(IsMsnDisplayString("\0MSN"s));
    EXPECT_FALSE(IsMsnDisplayString(""));
}

TEST(MsnProtectedStorage, ItemsGoByPrefixAndOptions) {
    const char* logins[] = {"http://a.example/", "https://b.example/", "ftp://c.example/"};
    const char* autocomplete[] = {"SearchBox", "HTTP://d.example/", "http:/e", "ftp:/f", ""};
    for (bool passwords : {false, true})
        for (bool history : {false, true}) {
            SCOPED_TRACE(testing::Message() << "passwords " << passwords << ", history " << history);
            for (const char* name : logins)
                EXPECT_EQ(IsMsnItemToDelete(name, passwords, history), passwords) << name;
            for (const char* name : autocomplete)
                EXPECT_EQ(IsMsnItemToDelete(name, passwords, history), history) << name;
            EXPECT_FALSE(IsMsnItemToDelete("MARSUSERPROTECTEDINFO", passwords, history));
        }
}

TEST(IEFolders, MaxthonVirtualStoreReplacesEveryRoaming) {
    EXPECT_EQ(MaxthonVirtualStoreFolder("C:\\Users\\ann\\AppData\\Roaming"),
              "C:\\Users\\ann\\AppData\\Local\\VirtualStore\\Program Files\\Maxthon2");
    EXPECT_EQ(MaxthonVirtualStoreFolder("D:\\Roaming\\Roaming"),
              "D:\\Local\\VirtualStore\\Program Files\\Maxthon2\\Local\\VirtualStore\\Program Files\\Maxthon2");
    // XP: no "Roaming", nothing to replace.
    EXPECT_EQ(MaxthonVirtualStoreFolder("C:\\Documents and Settings\\ann\\Application Data"),
              "C:\\Documents and Settings\\ann\\Application Data");
}

TEST(IEFolders, DomStoreIsNeverTheWholeApplicationDataFolder) {
    EXPECT_EQ(DomStoreFolder("C:\\Users\\ann\\AppData\\Roaming"),
              "C:\\Users\\ann\\AppData\\LocalLow\\Microsoft\\Internet Explorer\\DOMStore");
    // Without "Roaming" the unchanged folder would take every other program's index.dat with it.
    EXPECT_EQ(DomStoreFolder("C:\\Documents and Settings\\ann\\Application Data"), "");
    EXPECT_EQ(DomStoreFolder(""), "");
}

TEST(MaxthonConfig, UrlInsideALongerKeyAndEmptyValues) {
    // "url" anywhere after the section counts, inside a longer key name too; empty values go alike.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurls]\r\nmyurlkey=\r\nurl1=\r\n[b]\r\nx=\r\n"),
              "[a]\r\n[typedurls]\r\n[b]\r\nx=\r\n");
    // A longer section name is another section.
    EXPECT_EQ(MaxthonConfigWithoutTypedUrls("[a]\r\n[typedurlsold]\r\nurl1=http://a.example/\r\n"), std::nullopt);
}
