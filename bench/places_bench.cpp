// Times the Firefox history cleaner inside the Wine process, so that Wine's start-up is not
// counted:
//   zlt_places_bench statements   prints the statements the cleaner runs on places.sqlite, one
//                                 per line ending in ";", for the sqlite3 shell to run the same
//   zlt_places_bench clear        ClearFirefoxHistory over the profiles folder of the prefix
//                                 (bench/places_setup.sh put a places.sqlite there); prints
//                                 "seconds S places N visits M" with what is left afterwards
#include <windows.h>

#include <shlobj.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

#include "engine/cleaners/mozilla_edits.h"
#include "engine/history_cleaner.h"

namespace {

long long Count(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode == "statements") {
        for (const std::string& sql : FirefoxHistoryStatements()) std::printf("%s;\n", sql.c_str());
        return 0;
    }
    if (mode != "clear") {
        std::fprintf(stderr, "usage: zlt_places_bench statements|clear\n");
        return 2;
    }
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    cleaner.ClearFirefoxHistory();
    QueryPerformanceCounter(&end);

    char appData[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
    const std::string places = std::string(appData) + "\\Mozilla\\Firefox\\Profiles\\bench.default\\places.sqlite";
    sqlite3* db = nullptr;
    sqlite3_open(places.c_str(), &db);
    std::printf("seconds %.4f places %lld visits %lld\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                Count(db, "SELECT count(*) FROM moz_places"), Count(db, "SELECT count(*) FROM moz_historyvisits"));
    sqlite3_close(db);
    return 0;
}
