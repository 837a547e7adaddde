# The installer package, built with wixl from the programs of this build.
find_program(ZLT_WIXL wixl)
if(NOT ZLT_WIXL)
    message(WARNING "wixl not found: the installer package is not built")
    return()
endif()
if(ZLT_ARCH STREQUAL "x64")
    set(program_files ProgramFiles64Folder)
else()
    set(program_files ProgramFilesFolder)
endif()
set(ZLT_MSI ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Zephyrlanthorpe.msi)
add_custom_command(
    OUTPUT ${ZLT_MSI}
    COMMAND ${ZLT_WIXL} -a ${ZLT_ARCH} -D BinDir=.
            -D ProgramFilesDir=${program_files} -o ${ZLT_MSI} ${ZLT_TOP}/installer/zlt.wxs
    # wixl takes file sources relative to its working folder only.
    WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    DEPENDS ${ZLT_TOP}/installer/zlt.wxs zlt hook sqlite3_dll
    COMMENT "Building Zephyrlanthorpe.msi (${ZLT_ARCH})"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${ZLT_MSI})
