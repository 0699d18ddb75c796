# GoogleTest cross-compiled, tests run under 64-bit Wine through scripts/wine-exec.sh.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -finput-charset=UTF-8 -fexec-charset=UTF-8)

enable_testing()
include(GoogleTest)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)

# Small programs the tests start (recorders, bare reference programs): one per file.
file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*_win.cpp)
foreach(src ${tool_sources})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "_win$" "" name ${name})
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE common ${TESSERIN_STATIC_LINK})
  list(APPEND tool_targets ${name})
endforeach()

file(GLOB wine_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(wine_tests ${wine_test_sources})
target_link_libraries(wine_tests PRIVATE tesserin_core linktile_core gtest ${TESSERIN_STATIC_LINK})
add_dependencies(wine_tests Tesserin linktile syspin ${tool_targets})

# Wine takes the Windows locale from LC_ALL at process start, so suites that need
# another system locale carry its name as a suffix and run in their own process.
set(_other_locales "*_zhTW.*:*_jaJP.*:*_enUS.*")
gtest_discover_tests(wine_tests
  TEST_FILTER "-${_other_locales}"
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  PROPERTIES ENVIRONMENT "LC_ALL=zh_CN.UTF-8" TIMEOUT 300)
foreach(loc zhTW jaJP enUS)
  string(SUBSTRING ${loc} 0 2 _lang)
  string(SUBSTRING ${loc} 2 2 _country)
  gtest_discover_tests(wine_tests
    TEST_FILTER "*_${loc}.*" TEST_SUFFIX "@${loc}"
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES ENVIRONMENT "LC_ALL=${_lang}_${_country}.UTF-8" TIMEOUT 300)
endforeach()
