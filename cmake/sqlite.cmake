# sqlite3.dll from the pinned amalgamation (scripts/fetch-sqlite.sh puts it in third_party/sqlite).
# Built as a plain DLL with exported API and linked through a delay-load import library by full
# path: the library is loaded by the first call into it (a cleaner of a database), so an idle
# program never holds it.
set(ZLT_SQLITE_DIR ${ZLT_TOP}/third_party/sqlite)
if(NOT EXISTS ${ZLT_SQLITE_DIR}/sqlite3.c)
    execute_process(COMMAND ${ZLT_TOP}/scripts/fetch-sqlite.sh RESULT_VARIABLE fetch_result)
    if(NOT fetch_result EQUAL 0)
        message(FATAL_ERROR "The SQLite sources are missing; run scripts/setup.sh")
    endif()
endif()

set(ZLT_SQLITE_DLL ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/sqlite3.dll)
set(ZLT_SQLITE_DEF ${CMAKE_BINARY_DIR}/lib/sqlite3.def)
set(ZLT_SQLITE_IMPLIB ${CMAKE_BINARY_DIR}/lib/libsqlite3_delay.a)
add_custom_command(
    OUTPUT ${ZLT_SQLITE_DLL} ${ZLT_SQLITE_IMPLIB}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${CMAKE_BINARY_DIR}/lib
    COMMAND ${CMAKE_C_COMPILER} -O2 -shared -static-libgcc "-DSQLITE_API=__declspec(dllexport)"
            -DSQLITE_THREADSAFE=1 -w ${ZLT_SQLITE_DIR}/sqlite3.c -o ${ZLT_SQLITE_DLL}
            -Wl,--output-def,${ZLT_SQLITE_DEF}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${ZLT_SQLITE_DEF} --dllname sqlite3.dll
            --output-delaylib ${ZLT_SQLITE_IMPLIB}
    DEPENDS ${ZLT_SQLITE_DIR}/sqlite3.c
    COMMENT "Building sqlite3.dll (${ZLT_ARCH})"
    VERBATIM)
add_custom_target(sqlite3_dll DEPENDS ${ZLT_SQLITE_DLL} ${ZLT_SQLITE_IMPLIB})

add_library(sqlite3 SHARED IMPORTED GLOBAL)
set_target_properties(sqlite3 PROPERTIES
    IMPORTED_LOCATION ${ZLT_SQLITE_DLL}
    IMPORTED_IMPLIB ${ZLT_SQLITE_IMPLIB}
    INTERFACE_INCLUDE_DIRECTORIES ${ZLT_SQLITE_DIR}
    INTERFACE_LINK_LIBRARIES delayimp)
add_dependencies(sqlite3 sqlite3_dll)
