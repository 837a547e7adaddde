# The installer package: the help file, the uninstaller and the running-program check, then the
# package itself, built with wixl and completed with msibuild (installer/complete_package.py).
foreach(tool wixl msibuild gcab chmcmd)
    string(TOUPPER ${tool} var)
    find_program(ZLT_${var} ${tool})
    if(NOT ZLT_${var})
        message(FATAL_ERROR "${tool} not found: scripts/setup.sh installs it")
    endif()
endforeach()
find_package(Python3 COMPONENTS Interpreter REQUIRED)

# zlt.chm, compiled from a copy of resources/help so that the source tree stays clean.
file(GLOB_RECURSE help_sources CONFIGURE_DEPENDS ${ZLT_TOP}/resources/help/*)
set(help_work ${CMAKE_BINARY_DIR}/help)
add_custom_command(
    OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zlt.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_work}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZLT_TOP}/resources/help ${help_work}
    COMMAND ${CMAKE_COMMAND} -E chdir ${help_work} ${ZLT_CHMCMD} zlt.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${help_work}/zlt.chm ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zlt.chm
    DEPENDS ${help_sources}
    COMMENT "Compiling zlt.chm"
    VERBATIM)
add_custom_target(help_file DEPENDS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zlt.chm)

# uninst.exe: the target of the "Uninstall Zephyrlanthorpe" shortcut.
add_executable(uninst WIN32 installer/uninstall.cpp installer/uninstall.rc)

# The running-program check, carried inside the package as a custom-action DLL. Windows Installer
# finds its entry point by the plain name, which a 32-bit __stdcall export only has with --kill-at.
add_library(running_check SHARED installer/running_check.cpp)
set_target_properties(running_check PROPERTIES PREFIX "")
target_link_libraries(running_check PRIVATE msi)
if(ZLT_ARCH STREQUAL "x86")
    target_link_options(running_check PRIVATE -Wl,--kill-at)
endif()

if(ZLT_ARCH STREQUAL "x64")
    set(program_files ProgramFiles64Folder)
else()
    set(program_files ProgramFilesFolder)
endif()
set(ZLT_MSI ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Zephyrlanthorpe.msi)
file(GLOB package_tables CONFIGURE_DEPENDS ${ZLT_TOP}/installer/tables/*.idt)
set(package_work ${CMAKE_BINARY_DIR}/package)
# The package ships its programs without debugging information: Wine reads a whole image whose
# sections are not page-aligned into memory, so the debug build's sections would stay resident in
# the installed program (several megabytes for zlt.exe).
set(shipped ${package_work}/shipped)
file(MAKE_DIRECTORY ${shipped})
set(ship_commands)
foreach(name zlt.exe hook.dll sqlite3.dll uninst.exe running_check.dll)
    list(APPEND ship_commands COMMAND ${CMAKE_OBJCOPY} --strip-debug ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name} ${name})
endforeach()
add_custom_command(
    OUTPUT ${ZLT_MSI}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_work}
    ${ship_commands}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zlt.chm zlt.chm
    COMMAND ${ZLT_WIXL} -a ${ZLT_ARCH} -D BinDir=.
            -D ProgramFilesDir=${program_files} -o ${package_work}/wixl.msi ${ZLT_TOP}/installer/zlt.wxs
    COMMAND ${Python3_EXECUTABLE} ${ZLT_TOP}/installer/complete_package.py
            ${package_work}/wixl.msi . ${ZLT_ARCH} ${package_work}
    COMMAND ${CMAKE_COMMAND} -E copy ${package_work}/wixl.msi ${ZLT_MSI}
    # wixl takes file sources relative to its working folder only.
    WORKING_DIRECTORY ${shipped}
    DEPENDS ${ZLT_TOP}/installer/zlt.wxs ${ZLT_TOP}/installer/complete_package.py ${package_tables}
            zlt hook sqlite3_dll uninst running_check help_file ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zlt.chm
    COMMENT "Building Zephyrlanthorpe.msi (${ZLT_ARCH})"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${ZLT_MSI})
