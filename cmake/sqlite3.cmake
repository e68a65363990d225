# SQLite's amalgamation as scripts/fetch_sqlite.sh leaves it in build/sqlite3: a static library in both
# trees, safe across threads, without loadable extensions. Its own warnings are not ours to fix.
set(BRINDOR_SQLITE_DIR "${CMAKE_SOURCE_DIR}/build/sqlite3" CACHE PATH "Folder holding sqlite3.c and sqlite3.h")
if(NOT EXISTS "${BRINDOR_SQLITE_DIR}/sqlite3.c")
    message(FATAL_ERROR "sqlite3.c is missing from ${BRINDOR_SQLITE_DIR}: run scripts/fetch_sqlite.sh")
endif()
add_library(brindor_sqlite STATIC "${BRINDOR_SQLITE_DIR}/sqlite3.c")
target_include_directories(brindor_sqlite SYSTEM PUBLIC "${BRINDOR_SQLITE_DIR}")
target_compile_definitions(brindor_sqlite PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0
                           SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_OMIT_DEPRECATED)
target_compile_options(brindor_sqlite PRIVATE -w)
if(NOT WIN32)
    find_package(Threads REQUIRED)
    target_link_libraries(brindor_sqlite PUBLIC Threads::Threads)
endif()
