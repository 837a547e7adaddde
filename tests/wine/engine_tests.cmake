# Windows tests of the cleaning engine (included by tests/wine/CMakeLists.txt).
zlt_wine_test(engine_primitives_tests engine_primitives_test.cpp)
zlt_wine_test(engine_shredder_tests engine_shredder_test.cpp)
zlt_wine_test(engine_windows_history_tests engine_windows_history_test.cpp)
target_link_libraries(engine_windows_history_tests PRIVATE zlt_places_fixture)
zlt_wine_test(engine_links_tests engine_links_test.cpp)
set_tests_properties(wine.engine_links_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_links_setup.sh")
zlt_wine_test(engine_clearing_run_tests engine_clearing_run_test.cpp)
zlt_wine_test(engine_ie_tests engine_ie_test.cpp)
zlt_wine_test(engine_index_dat_tests engine_index_dat_test.cpp)
set_tests_properties(wine.engine_index_dat_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_index_dat_setup.sh")

zlt_wine_test(engine_applications_tests engine_applications_test.cpp)
zlt_wine_test(engine_applications_db_tests engine_applications_db_test.cpp)
set_tests_properties(wine.engine_applications_db_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_applications_setup.sh")
add_library(zlt_places_fixture STATIC places_fixture.cpp)
target_link_libraries(zlt_places_fixture PUBLIC zlt_test_support)
zlt_wine_test(engine_places_tests engine_places_test.cpp)
target_link_libraries(engine_places_tests PRIVATE zlt_places_fixture)
zlt_wine_test(engine_mozilla_tests engine_mozilla_test.cpp)
zlt_wine_test(engine_chrome_opera_safari_tests engine_chrome_opera_safari_test.cpp)
zlt_wine_test(engine_browser_links_tests engine_browser_links_test.cpp)
target_link_libraries(engine_browser_links_tests PRIVATE zlt_places_fixture)
set_tests_properties(wine.engine_browser_links_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_browser_links_setup.sh")

# The engine's benchmark programs are built with the Wine tests (bench/run.sh runs them).
add_subdirectory(${ZLT_TOP}/bench ${CMAKE_BINARY_DIR}/bench)
zlt_wine_test(engine_recording_tests engine_recording_test.cpp)
target_link_libraries(engine_recording_tests PRIVATE zlt_places_fixture)
zlt_wine_test(engine_firefox_tests engine_firefox_test.cpp)
target_link_libraries(engine_firefox_tests PRIVATE zlt_places_fixture)
set_tests_properties(wine.engine_firefox_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_firefox_setup.sh")
zlt_wine_test(engine_chromium_tests engine_chromium_test.cpp)
target_link_libraries(engine_chromium_tests PRIVATE zlt_places_fixture)
set_tests_properties(wine.engine_chromium_tests PROPERTIES
    ENVIRONMENT "ZLT_TEST_SETUP=${CMAKE_CURRENT_SOURCE_DIR}/engine_chromium_setup.sh")
zlt_wine_test(engine_cookies_keep_tests engine_cookies_keep_test.cpp)
target_link_libraries(engine_cookies_keep_tests PRIVATE zlt_places_fixture)
zlt_wine_test(engine_database_connection_tests engine_database_connection_test.cpp)
