# ZLTSetup.exe: the setup program, carrying the installer package as resource "EXE"/104. It shares
# no code with zlt.exe and imports only system libraries that every Windows has loaded already.
add_executable(ZLTSetup WIN32 setup/setup.cpp setup/launch_rules.cpp setup/setup.rc)
# windres finds Zephyrlanthorpe.msi on the include path.
target_include_directories(ZLTSetup PRIVATE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set_source_files_properties(setup/setup.rc PROPERTIES OBJECT_DEPENDS ${ZLT_MSI})
add_dependencies(ZLTSetup installer)
