# Native tests of the engine's portable code (included by tests/native/CMakeLists.txt).
add_executable(zlt_engine_native_tests
    shred_pattern_test.cpp
    walk_rules_test.cpp
    run_gate_test.cpp
    ie_edits_test.cpp
)
target_link_libraries(zlt_engine_native_tests PRIVATE zlt_portable gtest gtest_main)
add_test(NAME native.engine COMMAND zlt_engine_native_tests)
