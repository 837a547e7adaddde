# Native tests of the engine's portable code (included by tests/native/CMakeLists.txt).
