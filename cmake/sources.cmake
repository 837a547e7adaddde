# Source lists shared by the three builds.
include(${ZLT_TOP}/engine/sources.cmake)

# Pure transformations of bytes and text: no <windows.h>. Built natively (tests, sanitizers,
# fuzzers) and into the Windows programs.
set(ZLT_PORTABLE_SOURCES
    app/digest_text.cpp
    app/file_error.cpp
    app/settings.cpp
    app/settings_format.cpp
    engine/shred_method.cpp
    ${ZLT_ENGINE_PORTABLE_SOURCES}
)

# Everything else of zlt.exe except its entry point.
set(ZLT_WIN32_SOURCES
    app/main_app.cpp
    app/password.cpp
    app/settings_file.cpp
    ui/message_box.cpp
    ${ZLT_ENGINE_WIN32_SOURCES}
)
