# Windows tests of the cleaning engine (included by tests/wine/CMakeLists.txt).
