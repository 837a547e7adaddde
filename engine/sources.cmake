# Sources of the cleaning engine (listed into cmake/sources.cmake).
set(ZLT_ENGINE_PORTABLE_SOURCES
    engine/run_gate.cpp
    engine/shred_pattern.cpp
    engine/walk_rules.cpp
    engine/cleaners/index_dat_plan.cpp
    engine/cleaners/ie_edits.cpp
    engine/cleaners/mozilla_edits.cpp
    engine/cleaners/chrome_opera_safari_edits.cpp
)
set(ZLT_ENGINE_WIN32_SOURCES
    engine/history_cleaner.cpp
    engine/primitives.cpp
    engine/shredder.cpp
    engine/clearing_run.cpp
    engine/cleaners/windows_history.cpp
    engine/cleaners/index_dat.cpp
)
