# Source lists, from one rule: a file under a ui/ folder belongs to the Qt layer, every other file
# of the subsystem folders to the core. Only the Qt layer has the Qt headers on its include path,
# so a Qt include outside ui/ fails to compile. Tests follow the same rule.

file(GLOB_RECURSE sources RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
# The batch tool and the editor's main are executables of their own.
list(FILTER sources EXCLUDE REGEX "^src/cli/|^src/app/ui/main\\.cpp$")
set(VEMURION_UI_SOURCES ${sources})
list(FILTER VEMURION_UI_SOURCES INCLUDE REGEX "^src/[^/]+/ui/")
set(VEMURION_CORE_SOURCES ${sources})
list(FILTER VEMURION_CORE_SOURCES EXCLUDE REGEX "^src/[^/]+/ui/")

# Support files outside ui/ serve both test executables.
file(GLOB_RECURSE tests RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/*.cpp)
set(VEMURION_UI_TEST_SOURCES ${tests})
list(FILTER VEMURION_UI_TEST_SOURCES INCLUDE REGEX "^tests/([^/]+/)?ui/|^tests/support/")
set(VEMURION_CORE_TEST_SOURCES ${tests})
list(FILTER VEMURION_CORE_TEST_SOURCES EXCLUDE REGEX "^tests/([^/]+/)?ui/")

foreach(list VEMURION_UI_SOURCES VEMURION_CORE_SOURCES VEMURION_UI_TEST_SOURCES
             VEMURION_CORE_TEST_SOURCES)
    list(TRANSFORM ${list} PREPEND ${CMAKE_SOURCE_DIR}/)
endforeach()

file(GLOB VEMURION_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
