# Native tests of the engine's portable code (included by tests/native/CMakeLists.txt).
# The cleaners' statements run against the host's SQLite.
find_package(SQLite3 REQUIRED)
add_executable(zlt_engine_native_tests
    shred_pattern_test.cpp
    walk_rules_test.cpp
    run_gate_test.cpp
    ie_edits_test.cpp
    mozilla_edits_test.cpp
    chrome_opera_safari_edits_test.cpp
    applications_edits_test.cpp
    browser_folders_test.cpp
    run_record_test.cpp
    json_text_test.cpp
    app_ids_test.cpp
    chromium_edits_test.cpp
    cookie_keep_list_test.cpp
)
target_link_libraries(zlt_engine_native_tests PRIVATE zlt_portable gtest gtest_main SQLite::SQLite3)
add_test(NAME native.engine COMMAND zlt_engine_native_tests)
