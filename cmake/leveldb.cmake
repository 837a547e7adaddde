# Google's leveldb 1.20 with snappy, for Chromium's "Local Storage" database, vendored in
# third_party (from the npm package classic-level 3.0.0, whose Windows environment it keeps and
# whose libuv port third_party/leveldb/mingw replaces with the standard library). Windows builds only.
set(lv ${ZLT_TOP}/third_party/leveldb)
set(sn ${ZLT_TOP}/third_party/snappy)
file(GLOB ZLT_LEVELDB_SOURCES CONFIGURE_DEPENDS ${lv}/db/*.cc ${lv}/table/*.cc ${lv}/util/*.cc)
add_library(zlt_leveldb STATIC ${ZLT_LEVELDB_SOURCES} ${lv}/windows/env_win.cc ${lv}/windows/win_logger.cc
    ${lv}/helpers/memenv/memenv.cc ${sn}/snappy.cc ${sn}/snappy-sinksource.cc ${sn}/snappy-stubs-internal.cc)
target_include_directories(zlt_leveldb PUBLIC ${lv}/include ${lv}/helpers PRIVATE ${lv} ${lv}/mingw ${lv}/windows ${sn} ${sn}/mingw)
target_compile_definitions(zlt_leveldb PRIVATE LEVELDB_PLATFORM_UV SNAPPY HAVE_CONFIG_H OS_WIN)
# Their code, their warnings.
target_compile_options(zlt_leveldb PRIVATE -w)
