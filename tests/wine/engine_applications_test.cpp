// The application history cleaners that work on the registry and on plain files: toolbars,
// Office, Paint and WordPad, Media Player, Google Desktop, Skype's files and "config.xml", the
// Acrobat recent-file lists and the Acrobat data folder, against seeded keys and shell folders of
// the sandboxed prefix, each beside neighbours that must stay.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

const HKEY kUser = HKEY_CURRENT_USER;
const std::string kOffice = "Software\\Microsoft\\Office";
const std::string kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Answers the closing prompts and remembers which programs were asked about.
class PromptAnswers : public ClearingObserver {
public:
    bool answer = true;
    std::vector<RunningProgram> asked;
    bool PromptClose(RunningProgram program) override {
        asked.push_back(program);
        return answer;
    }
};

struct Applications : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    PromptAnswers prompts;
    std::string roaming = ShellFolderPath(CSIDL_APPDATA);
    std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    void SetUp() override {
        settings.ApplyDefaults();
        cleaner.SetObserver(&prompts);
        ASSERT_FALSE(roaming.empty());
        ASSERT_FALSE(local.empty());
    }
};

bool IsEmptyFolder(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList entries;
    cleaner.ListFiles(folder, entries);
    cleaner.ListSubfolders(folder, entries);
    return entries.empty();
}

// A file in a folder that may not exist yet.
void Seed(const std::string& path, const std::string& text = "trace") {
    MakeFolder(path.substr(0, path.find_last_of('\\')));
    WriteTextFile(path, text);
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The file dialogs and their two lists, as Office names them.
const char* const kDialogs[] = {"Add Custom Dictionary",
                                "Add Template",
                                "Answer",
                                "Attach Template",
                                "Browse",
                                "Create custom dictionary",
                                "Change Source",
                                "File New Database",
                                "Insert File",
                                "Insert Picture",
                                "Insert Subdocument",
                                "Merge Revisions",
                                "Modify Location",
                                "New from Existing Document",
                                "Open",
                                "Open Data Source",
                                "Save As",
                                "Save As HTML",
                                "Select File to Compare With Current Document"};

} // namespace

// ---- Toolbars, Media Player

TEST_F(Applications, ToolbarSearchHistoriesGoAndTheirNeighboursStay) {
    const std::string google = "Software\\Google\\NavClient\\1.1";
    SetString(kUser, google + "\\History", "0", "how to vanish");
    SetString(kUser, google + "\\Options", "kept", "1");
    SetString(HKEY_LOCAL_MACHINE, google + "\\History", "0", "machine search");
    SetString(HKEY_LOCAL_MACHINE, google + "\\Options", "kept", "1");
    SetString(kUser, "Software\\Yahoo\\Companion\\SearchHistory", "0", "yahoo search");
    SetString(kUser, "Software\\Yahoo\\Companion\\Options", "kept", "1");
    SetString(kUser, "Software\\Microsoft\\MSN Apps\\SearchBox", "History", "msn search");
    SetString(kUser, "Software\\Microsoft\\MSN Apps\\SearchBox", "Width", "200");
    const std::string searches = roaming + "\\Google\\Local Search History";
    Seed(searches + "\\history.dat");
    Seed(searches + "\\older\\history.dat");
    Seed(roaming + "\\Google\\kept.txt");

    cleaner.ClearToolbarHistory();

    EXPECT_FALSE(KeyExists(kUser, google + "\\History"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, google + "\\History"));
    EXPECT_FALSE(KeyExists(kUser, "Software\\Yahoo\\Companion\\SearchHistory"));
    EXPECT_FALSE(ValueExists(kUser, "Software\\Microsoft\\MSN Apps\\SearchBox", "History"));
    EXPECT_TRUE(ValueExists(kUser, google + "\\Options", "kept"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, google + "\\Options", "kept"));
    EXPECT_TRUE(ValueExists(kUser, "Software\\Yahoo\\Companion\\Options", "kept"));
    EXPECT_TRUE(ValueExists(kUser, "Software\\Microsoft\\MSN Apps\\SearchBox", "Width"));
    EXPECT_TRUE(PathExists(searches));
    EXPECT_TRUE(IsEmptyFolder(cleaner, searches));
    EXPECT_TRUE(PathExists(roaming + "\\Google\\kept.txt"));

    DeleteKeyTree(kUser, "Software\\Google");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Google");
    DeleteKeyTree(kUser, "Software\\Yahoo");
    DeleteKeyTree(kUser, "Software\\Microsoft\\MSN Apps");
    RemoveTree(roaming + "\\Google");
}

TEST_F(Applications, MediaPlayerListsGoWithTheirSubkeysAndThePlayerSettingsStay) {
    const std::string player = "Software\\Microsoft\\MediaPlayer\\Player";
    SetString(kUser, player + "\\RecentFileList", "File0", "C:\\films\\private.avi");
    SetString(kUser, player + "\\RecentFileList\\Extra", "x", "y");
    SetString(kUser, player + "\\RecentURLList", "URL0", "http://example.invalid/stream");
    SetString(kUser, player + "\\Settings", "Volume", "50");

    cleaner.ClearMediaPlayerHistory();

    EXPECT_FALSE(KeyExists(kUser, player + "\\RecentFileList"));
    EXPECT_FALSE(KeyExists(kUser, player + "\\RecentURLList"));
    EXPECT_TRUE(ValueExists(kUser, player + "\\Settings", "Volume"));
    DeleteKeyTree(kUser, "Software\\Microsoft\\MediaPlayer");
}

// ---- Office, Paint, WordPad

TEST_F(Applications, OfficeListsGoInEveryVersionAndTheSettingsBesideThemStay) {
    const std::string v11 = kOffice + "\\11.0", v12 = kOffice + "\\12.0";
    const std::string wordFind = "\\Common\\Open Find\\Microsoft Word\\Settings\\";
    // Every dialog's two lists of Word in both versions.
    for (const std::string& version : {v11, v12})
        for (const char* dialog : kDialogs) {
            SetString(kUser, version + wordFind + dialog + "\\File Name MRU", "Value", "C:\\secret.doc");
            SetString(kUser, version + wordFind + dialog + "\\Any Text MRU", "Value", "secret words");
        }
    // One list of every other application's dialog block.
    const std::string others[] = {
        "\\Common\\Open Find\\Microsoft Excel\\Settings\\Save As\\Any Text MRU",
        "\\Common\\Open Find\\Microsoft FrontPage\\Settings\\Insert Picture\\File Name MRU",
        "\\Common\\Open Find\\Microsoft PowerPoint\\Settings\\Open\\File Name MRU",
        "\\Common\\Open Find\\Microsoft Access\\Settings\\Select File to Compare With Current Document\\Any "
        "Text MRU",
        "\\Common\\Open Find\\Microsoft Document Imaging\\Settings\\Browse\\File Name MRU",
        "\\Common\\Open Find\\Office\\Settings\\Open Office Document\\File Name MRU",
        "\\Common\\Open Find\\Office\\Settings\\Open Office Document\\Any Text MRU",
    };
    const std::string lists[] = {
        "\\Word\\Data",
        "\\Word\\Recent Templates",
        "\\Word\\File MRU",
        "\\Word\\Place MRU",
        "\\Excel\\Recent File List",
        "\\Excel\\Recent Files",
        "\\Excel\\Recent Templates",
        "\\Excel\\File MRU",
        "\\Excel\\Place MRU",
        "\\PowerPoint\\Recent File List",
        "\\PowerPoint\\Recent File",
        "\\PowerPoint\\Recent Templates",
        "\\PowerPoint\\File MRU",
        "\\PowerPoint\\Place MRU",
        "\\Publisher\\Recent File List",
    };
    for (const std::string& key : others) SetString(kUser, v12 + key, "Value", "trace");
    for (const std::string& key : lists) {
        SetString(kUser, v11 + key, "Item 1", "C:\\secret.xls");
        SetString(kUser, v12 + key + "\\User MRU\\ADAL_1", "Item 1", "C:\\secret.ppt");
    }
    // Neighbours: the dialog's own settings, lists Office keeps under other names, and options.
    SetString(kUser, v12 + wordFind + "Open", "View", "Details");
    SetString(kUser, v11 + wordFind + "Save As\\Other MRU", "Value", "kept");
    SetString(kUser, v12 + "\\Word\\Options", "AutoSave", "1");
    SetString(kUser, v11 + "\\Excel\\Options", "Font", "Arial");
    SetString(kUser, v12 + "\\Access\\Security", "Level", "2");
    // Access keeps its recent files as values among every other Access option.
    for (const std::string& version : {v11, v12}) {
        SetString(kUser, version + "\\Access\\Settings", "MRU1", "C:\\secret.mdb");
        SetString(kUser, version + "\\Access\\Settings", "MRU2", "C:\\other.mdb");
        SetDword(kUser, version + "\\Access\\Settings", "MRUFlags1", 0);
        SetDword(kUser, version + "\\Access\\Settings", "Default Open Mode for Databases", 1);
        SetString(kUser, version + "\\Access\\Settings\\Wizards", "kept", "1");
    }
    SetString(kUser, kOffice + "\\Common", "kept", "1");

    const std::string frontPage = "Software\\Microsoft\\FrontPage";
    const std::string frontPageLists[] = {
        "\\Explorer\\FrontPage Explorer\\Recent File List",
        "\\Explorer\\FrontPage Explorer\\Recent Page List", "\\Explorer\\FrontPage Explorer\\Recent Web List",
        "\\Explorer\\FrontPage Explorer\\Recently Created Servers", "\\Editor\\Recently Used URLs"};
    for (const std::string& key : frontPageLists) SetString(kUser, frontPage + key + "\\deeper", "0", "site");
    SetString(kUser, frontPage + "\\Explorer\\FrontPage Explorer\\Settings", "kept", "1");

    const std::string applets = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets";
    SetString(kUser, applets + "\\Paint\\Recent File List", "File1", "C:\\me.bmp");
    SetString(kUser, applets + "\\Wordpad\\Recent File List", "File1", "C:\\diary.rtf");
    SetString(kUser, applets + "\\Paint\\View", "BMPWidth", "640");
    SetString(kUser, applets + "\\Wordpad\\Options", "Wrap", "1");

    const std::string recent = roaming + "\\Microsoft\\Office\\Recent";
    Seed(recent + "\\secret.doc.LNK");
    Seed(recent + "\\index.dat");
    Seed(roaming + "\\Microsoft\\Office\\kept.txt");

    cleaner.ClearOfficeHistory();

    for (const std::string& version : {v11, v12})
        for (const char* dialog : kDialogs) {
            EXPECT_FALSE(KeyExists(kUser, version + wordFind + dialog + "\\File Name MRU"))
                << version << dialog;
            EXPECT_FALSE(KeyExists(kUser, version + wordFind + dialog + "\\Any Text MRU"))
                << version << dialog;
        }
    for (const std::string& key : others) EXPECT_FALSE(KeyExists(kUser, v12 + key)) << key;
    for (const std::string& key : lists) {
        EXPECT_FALSE(KeyExists(kUser, v11 + key)) << key;
        EXPECT_FALSE(KeyExists(kUser, v12 + key)) << key;
    }
    for (const std::string& key : frontPageLists) EXPECT_FALSE(KeyExists(kUser, frontPage + key)) << key;
    EXPECT_FALSE(KeyExists(kUser, applets + "\\Paint\\Recent File List"));
    EXPECT_FALSE(KeyExists(kUser, applets + "\\Wordpad\\Recent File List"));

    EXPECT_TRUE(ValueExists(kUser, v12 + wordFind + "Open", "View"));
    EXPECT_TRUE(ValueExists(kUser, v11 + wordFind + "Save As\\Other MRU", "Value"));
    EXPECT_TRUE(ValueExists(kUser, v12 + "\\Word\\Options", "AutoSave"));
    EXPECT_TRUE(ValueExists(kUser, v11 + "\\Excel\\Options", "Font"));
    EXPECT_TRUE(ValueExists(kUser, v12 + "\\Access\\Security", "Level"));
    for (const std::string& version : {v11, v12}) {
        const std::string settings = version + "\\Access\\Settings";
        for (const char* mru : {"MRU1", "MRU2", "MRUFlags1"}) EXPECT_FALSE(ValueExists(kUser, settings, mru)) << mru;
        EXPECT_TRUE(ValueExists(kUser, settings, "Default Open Mode for Databases")) << version;
        EXPECT_TRUE(ValueExists(kUser, settings + "\\Wizards", "kept")) << version;
    }
    EXPECT_TRUE(ValueExists(kUser, kOffice + "\\Common", "kept"));
    EXPECT_TRUE(ValueExists(kUser, frontPage + "\\Explorer\\FrontPage Explorer\\Settings", "kept"));
    EXPECT_TRUE(ValueExists(kUser, applets + "\\Paint\\View", "BMPWidth"));
    EXPECT_TRUE(ValueExists(kUser, applets + "\\Wordpad\\Options", "Wrap"));
    EXPECT_TRUE(PathExists(recent));
    EXPECT_TRUE(IsEmptyFolder(cleaner, recent));
    EXPECT_TRUE(PathExists(roaming + "\\Microsoft\\Office\\kept.txt"));

    DeleteKeyTree(kUser, kOffice);
    DeleteKeyTree(kUser, frontPage);
    DeleteKeyTree(kUser, applets + "\\Paint");
    DeleteKeyTree(kUser, applets + "\\Wordpad");
    RemoveTree(roaming + "\\Microsoft\\Office");
}

TEST_F(Applications, OfficeListsOfEverySignedInIdentityGoAndTheirNeighboursStay) {
    const std::string v16 = kOffice + "\\16.0";
    const std::vector<std::string> identities = {"\\Word\\User MRU\\LiveId_7A3F0C2E91B84D56",
                                                 "\\Word\\User MRU\\ADAL_B4E5F6A7",
                                                 "\\Excel\\User MRU\\ADAL_B4E5F6A7",
                                                 "\\PowerPoint\\User MRU\\AD_0123"};
    for (const std::string& identity : identities) {
        SetString(kUser, v16 + identity + "\\File MRU", "Item 1", "[F00000000][T01D9][O00000000]*C:\\secret.docx");
        SetString(kUser, v16 + identity + "\\File MRU\\Item Metadata", "Item Metadata 1", "<Metadata/>");
        SetString(kUser, v16 + identity + "\\Place MRU", "Item 1", "[F00000000][T01D9][O00000000]*C:\\Private\\");
        SetString(kUser, v16 + identity + "\\Roaming", "kept", "1");
    }
    SetString(kUser, v16 + "\\Word\\Options", "kept", "1");
    cleaner.ClearOfficeHistory();
    for (const std::string& identity : identities) {
        EXPECT_FALSE(KeyExists(kUser, v16 + identity + "\\File MRU")) << identity;
        EXPECT_FALSE(KeyExists(kUser, v16 + identity + "\\Place MRU")) << identity;
        EXPECT_TRUE(ValueExists(kUser, v16 + identity + "\\Roaming", "kept")) << identity;
    }
    EXPECT_TRUE(ValueExists(kUser, v16 + "\\Word\\Options", "kept"));
    DeleteKeyTree(kUser, kOffice);
}

// ---- Google Desktop

TEST_F(Applications, GoogleDesktopDataGoesOnlyWhenTheUserLetsItClose) {
    const std::string data = local + "\\Google\\Google Desktop";
    Seed(data + "\\index\\fulltext.db");
    Seed(data + "\\history.log");
    Seed(local + "\\Google\\kept.txt");

    prompts.answer = false;
    cleaner.ClearGoogleDesktopHistory();
    EXPECT_EQ(prompts.asked, std::vector<RunningProgram>{RunningProgram::GoogleDesktop});
    EXPECT_TRUE(PathExists(data + "\\index\\fulltext.db"));
    EXPECT_TRUE(PathExists(data + "\\history.log"));

    prompts.answer = true;
    cleaner.ClearGoogleDesktopHistory();
    EXPECT_TRUE(PathExists(data));
    EXPECT_TRUE(IsEmptyFolder(cleaner, data));
    EXPECT_TRUE(PathExists(local + "\\Google\\kept.txt"));
    RemoveTree(local + "\\Google");
}

// ---- Adobe Reader and Acrobat

TEST_F(Applications, AcrobatRecentFilesGoUnderEveryVersionOfItsOwnProduct) {
    const std::string reader = "Software\\Adobe\\Acrobat Reader", acrobat = "Software\\Adobe\\Adobe Acrobat";
    // The DC versions keep the folders of those files beside them.
    for (const std::string& product : {reader, acrobat})
        for (const char* version : {"\\8.0", "\\9.0", "\\DC"}) {
            SetString(kUser, product + version + "\\AVGeneral\\cRecentFiles\\c1", "sDI", "/C/private.pdf");
            SetString(kUser, product + version + "\\AVGeneral\\cRecentFolders\\c1", "sDI", "/C/Private/");
            SetString(kUser, product + version + "\\AVGeneral", "bExpandRHPInViewer", "1");
        }

    cleaner.ClearAcrobatReaderRecentFiles();
    for (const char* version : {"\\8.0", "\\9.0", "\\DC"}) {
        EXPECT_FALSE(KeyExists(kUser, reader + version + "\\AVGeneral\\cRecentFiles"));
        EXPECT_FALSE(KeyExists(kUser, reader + version + "\\AVGeneral\\cRecentFolders"));
        EXPECT_TRUE(ValueExists(kUser, reader + version + "\\AVGeneral", "bExpandRHPInViewer"));
        EXPECT_TRUE(KeyExists(kUser, acrobat + version + "\\AVGeneral\\cRecentFiles\\c1"));
        EXPECT_TRUE(KeyExists(kUser, acrobat + version + "\\AVGeneral\\cRecentFolders\\c1"));
    }

    cleaner.ClearAdobeAcrobatRecentFiles();
    for (const char* version : {"\\8.0", "\\9.0", "\\DC"}) {
        EXPECT_FALSE(KeyExists(kUser, acrobat + version + "\\AVGeneral\\cRecentFiles"));
        EXPECT_FALSE(KeyExists(kUser, acrobat + version + "\\AVGeneral\\cRecentFolders"));
        EXPECT_TRUE(ValueExists(kUser, acrobat + version + "\\AVGeneral", "bExpandRHPInViewer"));
    }
    DeleteKeyTree(kUser, "Software\\Adobe");
}

TEST_F(Applications, AcrobatDataFolderIsBelowLocalLow) {
    const std::string localLow = roaming.substr(0, roaming.rfind("Roaming")) + "LocalLow";
    ASSERT_NE(roaming.find("\\Roaming"), std::string::npos) << roaming;
    const std::string data = localLow + "\\Adobe\\Acrobat";
    Seed(data + "\\9.0\\Organizer70");
    Seed(data + "\\9.0\\Search\\index.idx");
    Seed(localLow + "\\Adobe\\Flash\\kept.sol");
    Seed(roaming + "\\Adobe\\Acrobat\\9.0\\kept.pdf");

    cleaner.ClearAcrobatDataFolder();

    EXPECT_TRUE(PathExists(data));
    EXPECT_TRUE(IsEmptyFolder(cleaner, data));
    EXPECT_TRUE(PathExists(localLow + "\\Adobe\\Flash\\kept.sol"));
    EXPECT_TRUE(PathExists(roaming + "\\Adobe\\Acrobat\\9.0\\kept.pdf"));
    RemoveTree(localLow + "\\Adobe");
    RemoveTree(roaming + "\\Adobe");
}

TEST_F(Applications, WithoutRoamingInThePathOnlyTheOrganizerDatabasesGo) {
    // The layout of older Windows: the user's application data is "...\Application Data", and
    // Acrobat keeps its Organizer beside its trusted identities, stamps and scripts.
    TempFolder profile;
    const std::string appData = MakeFolder(profile / "Application Data");
    ASSERT_TRUE(SetString(kUser, kUserShellFolders, "AppData", appData));
    ASSERT_EQ(ShellFolderPath(CSIDL_APPDATA), appData);
    const std::string acrobat = appData + "\\Adobe\\Acrobat";
    Seed(appData + "\\canary.txt", "must survive");
    Seed(appData + "\\Adobe\\Flash\\kept.sol");
    Seed(acrobat + "\\9.0\\Organizer70");
    Seed(acrobat + "\\9.0\\Organizer70-journal");
    Seed(acrobat + "\\8.0\\deeper\\Organizer.db");
    const char* const kept[] = {"\\9.0\\Security\\addressbook.acrodata", "\\9.0\\Stamps\\mine.pdf",
                                "\\9.0\\JavaScripts\\glob.js", "\\9.0\\Preferences\\prefs.txt",
                                "\\9.0\\MyOrganizer70"};
    for (const char* file : kept) Seed(acrobat + file);

    cleaner.ClearAcrobatDataFolder();
    SetString(kUser, kUserShellFolders, "AppData", roaming);

    for (const char* gone : {"\\9.0\\Organizer70", "\\9.0\\Organizer70-journal", "\\8.0\\deeper\\Organizer.db"})
        EXPECT_FALSE(PathExists(acrobat + gone)) << gone;
    for (const char* file : kept) EXPECT_TRUE(PathExists(acrobat + file)) << file;
    EXPECT_EQ(ReadText(appData + "\\canary.txt"), "must survive");
    EXPECT_TRUE(PathExists(appData + "\\Adobe\\Flash\\kept.sol"));
}

// ---- Skype files and config.xml

namespace {

const char kConfigHead[] = "<?xml version=\"1.0\"?>\r\n<config version=\"1.0\" serial=\"42\">\r\n  <Lib>\r\n"
                           "    <Call>\r\n      <LastDialedNumbers>";
const char kConfigTail[] = "</LastDialedNumbers>\r\n      <Volume>70</Volume>\r\n    </Call>\r\n  </Lib>\r\n"
                           "</config>\r\n";

std::string Config(const std::string& dialed) {
    return kConfigHead + dialed + kConfigTail;
}

} // namespace

TEST_F(Applications, SkypeCallFilesAndLastDialedNumbersOfEveryAccount) {
    const std::string skype = roaming + "\\Skype";
    const std::string alice = skype + "\\alice", bob = skype + "\\bob",
                      deep = skype + "\\carol\\old\\profile";
    for (const std::string& account : {alice, bob, deep}) {
        Seed(account + "\\call256.dbb");
        Seed(account + "\\callmember256.dbb");
        Seed(account + "\\chat256.dbb");
        Seed(account + "\\config.xml", Config("+15550100 +15550199 echo123"));
    }
    Seed(skype + "\\call256.dbb"); // the Skype folder itself is nobody's account
    Seed(skype + "\\shared.xml", Config("+15550123"));
    WriteTextFile(bob + "\\config.xml", Config("")); // already empty: left as it is
    const std::vector<uint8_t> bobBefore = ReadFileBytes(bob + "\\config.xml");

    cleaner.ClearSkypeCalls();

    for (const std::string& account : {alice, bob, deep}) {
        EXPECT_FALSE(PathExists(account + "\\call256.dbb")) << account;
        EXPECT_FALSE(PathExists(account + "\\callmember256.dbb")) << account;
        EXPECT_TRUE(PathExists(account + "\\chat256.dbb")) << account;
        EXPECT_FALSE(PathExists(account + "\\main.db")) << account; // never created by the cleaner
    }
    // Only the numbers go; every other byte stays where it was.
    EXPECT_EQ(ReadText(alice + "\\config.xml"), Config(""));
    EXPECT_EQ(ReadText(deep + "\\config.xml"), Config(""));
    EXPECT_EQ(ReadFileBytes(bob + "\\config.xml"), bobBefore);
    EXPECT_TRUE(PathExists(skype + "\\call256.dbb"));
    EXPECT_EQ(ReadText(skype + "\\shared.xml"), Config("+15550123"));
    RemoveTree(skype);
}

TEST_F(Applications, AConfigThatCannotBeOpenedLeavesTheOtherAccountsToBeCleaned) {
    const std::string skype = roaming + "\\Skype";
    const std::string accounts[] = {skype + "\\anna", skype + "\\berta", skype + "\\clara"};
    for (const std::string& account : accounts) Seed(account + "\\config.xml", Config("+15550100"));
    {
        // Held without any sharing by another program: neither read nor written.
        HeldFile locked(accounts[1] + "\\config.xml", 0);
        ASSERT_TRUE(locked.held());
        FolderList folders(std::begin(accounts), std::end(accounts));
        cleaner.ClearSkypeLastDialed(folders);
    }
    EXPECT_EQ(ReadText(accounts[0] + "\\config.xml"), Config(""));
    EXPECT_EQ(ReadText(accounts[1] + "\\config.xml"), Config("+15550100"));
    EXPECT_EQ(ReadText(accounts[2] + "\\config.xml"), Config(""));
    RemoveTree(skype);
}

TEST_F(Applications, SkypeChatFilesAndTheChatsyncFolderGo) {
    const std::string skype = roaming + "\\Skype";
    const std::string account = skype + "\\alice", deep = skype + "\\alice\\backup\\older";
    for (const std::string& folder : {account, deep}) {
        for (const char* name : {"chat512.dbb", "chatmember256.dbb", "chatmsg256.dbb", "chat256.dbb"})
            Seed(folder + "\\" + name);
        Seed(folder + "\\chatsync\\0a\\0a1b2c3d.dat");
        Seed(folder + "\\chatsync\\index.dat");
        Seed(folder + "\\call256.dbb");
        Seed(folder + "\\config.xml", Config("+15550100"));
    }
    Seed(skype + "\\chatsync\\kept.dat"); // below the Skype folder itself, in no account

    cleaner.ClearSkypeChats();

    for (const std::string& folder : {account, deep}) {
        for (const char* name : {"chat512.dbb", "chatmember256.dbb", "chatmsg256.dbb", "chat256.dbb"})
            EXPECT_FALSE(PathExists(folder + "\\" + name)) << folder << name;
        EXPECT_TRUE(PathExists(folder + "\\chatsync"));
        EXPECT_TRUE(IsEmptyFolder(cleaner, folder + "\\chatsync")) << folder;
        EXPECT_TRUE(PathExists(folder + "\\call256.dbb"));
        EXPECT_EQ(ReadText(folder + "\\config.xml"), Config("+15550100"));
    }
    EXPECT_TRUE(PathExists(skype + "\\chatsync\\kept.dat"));
    RemoveTree(skype);
}
