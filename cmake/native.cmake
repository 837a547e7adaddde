# Native (host) build: the portable code with its unit tests and fuzz targets.
option(ZLT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(ZLT_WINDOWS_SUBBUILDS "Also configure, build and test the wine and product builds" OFF)

if(ZLT_SANITIZE)
    set(ZLT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_compile_options(${ZLT_SANITIZER_FLAGS})
    add_link_options(${ZLT_SANITIZER_FLAGS})
endif()

add_library(zlt_portable STATIC ${ZLT_PORTABLE_SOURCES})

if(ZLT_BUILD_TESTS)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/native)
    add_subdirectory(fuzz)
endif()

if(ZLT_WINDOWS_SUBBUILDS)
    include(cmake/subbuilds.cmake)
endif()
