# The "all" build: the wine and product builds as sub-builds of this native one, and their tests
# folded into this build's ctest.
include(ExternalProject)

foreach(build wine product)
    if(build STREQUAL wine)
        set(toolchain ${ZLT_TOP}/cmake/toolchain-mingw-x86_64.cmake)
        set(tests ON)
        set(type ${CMAKE_BUILD_TYPE})
    else()
        set(toolchain ${ZLT_TOP}/cmake/toolchain-mingw-i686.cmake)
        set(tests OFF)
        set(type Release)
    endif()
    ExternalProject_Add(zlt_${build}
        SOURCE_DIR ${ZLT_TOP}
        BINARY_DIR ${CMAKE_BINARY_DIR}/${build}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${toolchain}
            -DCMAKE_BUILD_TYPE=${type}
            -DZLT_BUILD_TESTS=${tests}
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        USES_TERMINAL_CONFIGURE ON
        USES_TERMINAL_BUILD ON)
endforeach()
# The two cross builds share two cores with this one: let them run one after the other.
add_dependencies(zlt_product zlt_wine)

# ctest reads this file when it starts; subdirs() makes it descend into the wine build's tests.
file(WRITE ${CMAKE_BINARY_DIR}/wine_tests.cmake "subdirs(\"${CMAKE_BINARY_DIR}/wine\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/wine_tests.cmake)
