# Sources of the cleaning engine (listed into cmake/sources.cmake).
set(ZLT_ENGINE_PORTABLE_SOURCES
)
set(ZLT_ENGINE_WIN32_SOURCES
)
