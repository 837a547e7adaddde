# Source lists shared by the three builds.
include(${ZLT_TOP}/engine/sources.cmake)

# Pure transformations of bytes and text: no <windows.h>. Built natively (tests, sanitizers,
# fuzzers) and into the Windows programs.
set(ZLT_PORTABLE_SOURCES
    app/digest_text.cpp
    app/file_error.cpp
    app/password.cpp
    app/settings.cpp
    app/settings_format.cpp
    app/sha256.cpp
    control/browser_titles.cpp
    hook/paste_keys.cpp
    ui/box_layout.cpp
    ui/progress_throttle.cpp
    ui/navigation_tree.cpp
    update/version_list.cpp
    ${ZLT_ENGINE_PORTABLE_SOURCES}
    control/program_match.cpp
)

# Everything else of zlt.exe except its entry point.
set(ZLT_WIN32_SOURCES
    app/main_app.cpp
    app/main_window.cpp
    app/main_window_exit.cpp
    app/main_window_tray.cpp
    app/settings_file.cpp
    control/browser_windows.cpp
    app/clear_entry.cpp
    control/hot_keys.cpp
    engine/delete_thread.cpp
    ui/framework/dialog.cpp
    ui/framework/splitter.cpp
    ui/framework/wnd.cpp
    ui/message_box.cpp
    ui/option_page.cpp
    ui/page.cpp
    ui/html_help.cpp
    ui/progress_poster.cpp
    ui/pages/about_page.cpp
    ui/pages/browser_chrome_page.cpp
    ui/pages/browser_firefox_page.cpp
    ui/pages/browser_history_page.cpp
    ui/pages/browser_ie_page.cpp
    ui/pages/browser_mozilla_page.cpp
    ui/pages/browser_netscape_page.cpp
    ui/pages/browser_opera_page.cpp
    ui/pages/browser_page.cpp
    ui/pages/browser_pages.cpp
    ui/pages/browser_safari_page.cpp
    ui/pages/check_updates_page.cpp
    ui/pages/help_page.cpp
    ui/pages/help_pages.cpp
    ui/panels.cpp
    ui/password_dialog.cpp
    ui/progress_window.cpp
    ui/tray_menu.cpp
    update/version_check.cpp
    ${ZLT_ENGINE_WIN32_SOURCES}
    control/running_programs.cpp
    app/main_window_watches.cpp
)
