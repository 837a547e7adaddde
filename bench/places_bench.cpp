// Times the Firefox history cleaner inside the Wine process, so that Wine's start-up is not
// counted:
//   zlt_places_bench script        prints the SQL the cleaner runs on places.sqlite, one statement
//                                  per line ending in ";", for the sqlite3 shell to run the same
//   zlt_places_bench clear         ClearFirefoxHistory over the profiles folder of the prefix
//                                  (bench/places_setup.sh put a places.sqlite there)
//   zlt_places_bench bare [OPTION] the same SQL through the same sqlite3.dll, with nothing of the
//                                  program around it (no checks, no record): Wine's floor for it.
//                                  OPTION adds one of SQLite's own settings to see what it buys:
//                                  exclusive (locking_mode=EXCLUSIVE), mmap (mmap_size=256 MiB)
// The last two print "seconds S places N visits M" with what is left afterwards.
#include <windows.h>

#include <shlobj.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

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

// What CleanDatabase runs on a rollback-journal places.sqlite, statement by statement.
std::vector<std::string> Script(const std::string& option) {
    std::vector<std::string> script;
    for (const char* pragma : {"PRAGMA secure_delete=ON", "PRAGMA temp_store=MEMORY", "PRAGMA journal_mode=PERSIST",
                               "PRAGMA cache_size=-65536"})
        script.emplace_back(pragma);
    if (option == "exclusive") script.emplace_back("PRAGMA locking_mode=EXCLUSIVE");
    if (option == "mmap") script.emplace_back("PRAGMA mmap_size=268435456");
    script.emplace_back("BEGIN");
    for (std::string& sql : AllFirefoxHistoryStatements()) script.push_back(std::move(sql));
    script.emplace_back("COMMIT");
    script.emplace_back("VACUUM");
    script.emplace_back("PRAGMA main.integrity_check");
    return script;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 2 ? argv[1] : "";
    const std::string option = argc >= 3 ? argv[2] : "";
    if (mode == "script") {
        for (const std::string& sql : Script(option)) std::printf("%s;\n", sql.c_str());
        return 0;
    }
    if (mode != "clear" && mode != "bare") {
        std::fprintf(stderr, "usage: zlt_places_bench script|clear|bare [exclusive|mmap]\n");
        return 2;
    }
    char appData[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
    const std::string places = std::string(appData) + "\\Mozilla\\Firefox\\Profiles\\bench.default\\places.sqlite";
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    LARGE_INTEGER start, end;
    if (mode == "clear") {
        QueryPerformanceCounter(&start);
        cleaner.ClearFirefoxHistory();
        QueryPerformanceCounter(&end);
    } else {
        QueryPerformanceCounter(&start);
        sqlite3* db = nullptr;
        sqlite3_open_v2(places.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        for (const std::string& sql : Script(option)) sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        DeleteFileA((places + "-journal").c_str()); // as the cleaner leaves it: gone
        QueryPerformanceCounter(&end);
    }
    sqlite3* db = nullptr;
    sqlite3_open(places.c_str(), &db);
    std::printf("seconds %.4f places %lld visits %lld\n", Seconds(start, end),
                Count(db, "SELECT count(*) FROM moz_places"), Count(db, "SELECT count(*) FROM moz_historyvisits"));
    sqlite3_close(db);
    return 0;
}
