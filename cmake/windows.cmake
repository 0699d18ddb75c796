# Windows build (MinGW-w64): the programs, the pinning tool stand-in and the Wine tests.

if(DEFINED ENV{TESSERIN_DEPS_DIR})
  set(_deps_root $ENV{TESSERIN_DEPS_DIR})
else()
  set(_deps_root $ENV{HOME}/.cache/tesserin-deps)
endif()
set(TESSERIN_DEPS_PREFIX ${_deps_root}/${TRIPLET} CACHE PATH "libpng/libjpeg built for this target")
if(NOT EXISTS ${TESSERIN_DEPS_PREFIX}/lib/libjpeg.a)
  message(FATAL_ERROR "libpng/libjpeg for ${TRIPLET} not found in ${TESSERIN_DEPS_PREFIX}: run scripts/build-mingw-libs.sh")
endif()

add_compile_definitions(WINVER=0x0A00 _WIN32_WINNT=0x0A00 _WIN32_IE=0x0A00 STRICT)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# No MinGW DLL beside the programs.
set(TESSERIN_STATIC_LINK -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

add_library(png_static STATIC IMPORTED)
set_target_properties(png_static PROPERTIES IMPORTED_LOCATION ${TESSERIN_DEPS_PREFIX}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${TESSERIN_DEPS_PREFIX}/include
  INTERFACE_LINK_LIBRARIES /usr/${TRIPLET}/lib/libz.a)
add_library(jpeg_static STATIC IMPORTED)
set_target_properties(jpeg_static PROPERTIES IMPORTED_LOCATION ${TESSERIN_DEPS_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${TESSERIN_DEPS_PREFIX}/include)

tesserin_sources(common_free common_win common)
add_library(common STATIC ${common_free} ${common_win})
target_link_libraries(common PUBLIC user32 kernel32 ole32 oleaut32 uuid shell32)

tesserin_sources(core_free core_win tesserin/tile tesserin/ui tesserin/settings tesserin/update)
add_library(tesserin_core STATIC ${core_free} ${core_win} ${GEN_DIR}/gbk_big5_table.cpp)
target_link_libraries(tesserin_core PUBLIC common png_static jpeg_static
  comctl32 comdlg32 gdi32 msimg32 version advapi32 windowscodecs)

set(TESSERIN_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
configure_file(res/version.h.in ${GEN_DIR}/version.h @ONLY)

add_executable(Tesserin WIN32 tesserin/main_win.cpp res/tesserin.rc)
target_include_directories(Tesserin PRIVATE ${GEN_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(Tesserin PRIVATE tesserin_core ${TESSERIN_STATIC_LINK})

tesserin_sources(linktile_free linktile_win linktile)
list(FILTER linktile_win EXCLUDE REGEX "main_win\\.cpp$")
add_library(linktile_core STATIC ${linktile_free} ${linktile_win})
target_link_libraries(linktile_core PUBLIC common)
add_executable(linktile WIN32 linktile/main_win.cpp res/linktile.rc)
target_include_directories(linktile PRIVATE ${GEN_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(linktile PRIVATE linktile_core ${TESSERIN_STATIC_LINK})

# The pinning tool ships as an executable named syspin.dll.
add_executable(syspin WIN32 syspin/main_win.cpp)
set_target_properties(syspin PROPERTIES SUFFIX ".dll")
target_link_libraries(syspin PRIVATE common ${TESSERIN_STATIC_LINK})

# Release folder, ready to zip.
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tesserin> $<TARGET_FILE:linktile> $<TARGET_FILE:syspin>
          ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/dist/
  DEPENDS Tesserin linktile syspin)

if(TESSERIN_TESTS)
  include(cmake/wine-tests.cmake)
endif()
