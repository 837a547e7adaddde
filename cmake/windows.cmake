# Windows builds (product: i686; wine tests: x86_64). Narrow "A" functions, Windows XP headers,
# static C++ runtime so that no MinGW DLL has to ship beside the programs.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(ZLT_ARCH x64)
else()
    set(ZLT_ARCH x86)
endif()

include(cmake/sqlite.cmake)
include(cmake/leveldb.cmake)

add_library(zlt_portable STATIC ${ZLT_PORTABLE_SOURCES})

# hook.dll: the clipboard hook, loaded by zlt.exe at load time.
add_library(hook SHARED hook/hook.cpp hook/paste_keys.cpp)
set_target_properties(hook PROPERTIES PREFIX "" OUTPUT_NAME hook)

# zlt_delay_import(NAME DLL): the target NAME_delay, through which DLL is loaded by the first call
# into it. For libraries only a cleaner needs, so that the idle program never holds them.
function(zlt_delay_import name dll)
    find_file(implib_${name} lib${name}.a PATHS /usr/${ZLT_MINGW_TRIPLE}/lib NO_DEFAULT_PATH REQUIRED)
    set(out ${CMAKE_BINARY_DIR}/lib/lib${name}_delay.a)
    set(convention)
    if(ZLT_ARCH STREQUAL "x86")
        set(convention stdcall)
    endif()
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lib
        COMMAND ${ZLT_TOP}/cmake/delay_import.sh ${CMAKE_NM} ${CMAKE_DLLTOOL} ${implib_${name}} ${dll} ${out}
                ${convention}
        DEPENDS ${ZLT_TOP}/cmake/delay_import.sh ${implib_${name}}
        VERBATIM)
    add_custom_target(${name}_delay_lib DEPENDS ${out})
    add_library(${name}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_delay PROPERTIES IMPORTED_LOCATION ${out} INTERFACE_LINK_LIBRARIES delayimp)
    add_dependencies(${name}_delay ${name}_delay_lib)
endfunction()
# WinINet (the cache and cookie cleaners) brings the network libraries along.
zlt_delay_import(wininet wininet.dll)

add_library(zlt_core STATIC ${ZLT_WIN32_SOURCES})
target_link_libraries(zlt_core PUBLIC zlt_portable hook sqlite3 zlt_leveldb
    comctl32 ole32 oleaut32 uuid shell32 shlwapi advapi32 ws2_32 gdi32 msimg32 user32 kernel32 psapi
    wininet_delay urlmon htmlhelp version)

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001 -I${ZLT_TOP} -I${ZLT_TOP}/resources")
# windres does not report what an .rc file includes: every file of resources/ is a dependency of
# zlt.rc, so that a changed template, bitmap or icon rebuilds the programs that carry them.
file(GLOB ZLT_RESOURCE_FILES CONFIGURE_DEPENDS ${ZLT_TOP}/resources/*.rc ${ZLT_TOP}/resources/*.h
     ${ZLT_TOP}/resources/*.bmp ${ZLT_TOP}/resources/*.ico ${ZLT_TOP}/resources/*.manifest)
set_source_files_properties(${ZLT_TOP}/resources/zlt.rc PROPERTIES OBJECT_DEPENDS "${ZLT_RESOURCE_FILES}")
add_executable(zlt WIN32 app/main.cpp resources/zlt.rc)
target_link_libraries(zlt PRIVATE zlt_core)

include(cmake/installer.cmake)
include(cmake/setup.cmake)

if(ZLT_BUILD_TESTS)
    # Every Windows test program runs through this wrapper in a throw-away sandboxed prefix.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZLT_TOP}/scripts/wine-run.sh --root ${CMAKE_BINARY_DIR})
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/wine)
    add_subdirectory(tests/e2e)
    add_subdirectory(tests/ui)
endif()
