# Native Linux build: the platform-free code, tested with sanitizers.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GTest REQUIRED)

if(TESSERIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

tesserin_sources(common_free common_win common)
tesserin_sources(core_free core_win tesserin/tile tesserin/ui tesserin/settings tesserin/update)
tesserin_sources(linktile_free linktile_win linktile)
add_library(platform_free STATIC ${common_free} ${core_free} ${linktile_free} ${GEN_DIR}/gbk_big5_table.cpp)
target_link_libraries(platform_free PUBLIC PNG::PNG JPEG::JPEG)

if(TESSERIN_TESTS)
  enable_testing()
  include(GoogleTest)
  file(GLOB native_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
  add_executable(native_tests ${native_test_sources})
  target_link_libraries(native_tests PRIVATE platform_free GTest::gtest_main)
  gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST)
endif()
