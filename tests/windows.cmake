# The Windows build's tests, run under Wine through CMake's cross-compiling
# emulator (scripts/test-windows): the unit tests that need neither a display
# nor the fake window system and Linux libraries of the fixtures.

# GoogleTest from Debian's sources (googletest), built with the same toolchain.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
include(GoogleTest)

function(tandrel_windows_test path)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES;ENVIRONMENT" ${ARGN})
  string(REGEX REPLACE "\\.cpp$" "" name ${path})
  string(REPLACE "/" "_" name ${name})
  add_executable(${name} ${path} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE tandrel_framework gtest_main ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE TANDREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120 LABELS unit ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()

tandrel_windows_test(support/math/vector_test.cpp)
tandrel_windows_test(support/math/matrix_test.cpp)
tandrel_windows_test(support/math/quaternion_test.cpp)
tandrel_windows_test(support/image/image_test.cpp)
tandrel_windows_test(framework/ui/i18n_test.cpp)
tandrel_windows_test(framework/ui/fuzz_corpus_test.cpp SOURCES framework/ui/fuzz/i18n_fuzz.cpp)
tandrel_windows_test(game/boardarray_test.cpp LIBS tandrel_game)
tandrel_windows_test(game/pool_test.cpp LIBS tandrel_game)
tandrel_windows_test(game/random_test.cpp LIBS tandrel_game)
tandrel_windows_test(game/net/protocol_test.cpp LIBS tandrel_game)
tandrel_windows_test(game/computer/engine_test.cpp LIBS tandrel_computer)
# With sqlite3.dll beside it in the build directory, as scripts/build-windows leaves it.
tandrel_windows_test(game/memory/keeper_test.cpp LIBS tandrel_game)
# Wine gives Windows the user's locale from the environment, and only for a
# locale the C library has: scripts/test-windows compiles de_DE.UTF-8 and
# names it in LOCPATH.
tandrel_windows_test(platform/platform_test.cpp ENVIRONMENT LC_ALL=de_DE.UTF-8)
