# Windows targets (MinGW-w64): the shell, its Win32 adapters, the test tools and
# the test executables that run under Wine.
set(GLIMMER_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${GLIMMER_BIN})

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(GLIMMER_ARCH win64)
else()
  set(GLIMMER_ARCH win32)
endif()

enable_language(RC)

file(GLOB GLIMMER_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
list(FILTER GLIMMER_WIN32_SOURCES EXCLUDE REGEX "/(winmain|shell_runtime)\\.cpp$")
add_library(glimmer_win32 STATIC ${GLIMMER_WIN32_SOURCES})
# Only what every mode needs is imported; the other system DLLs are loaded
# when a mode calls into them (src/win32/system_dlls.h). user32 is not named
# here: the tools and tests import it as usual, the shell binds it at its
# first call (below).
target_link_libraries(glimmer_win32 PUBLIC glimmer_core advapi32 gdi32)
set(GLIMMER_TOOL_DLLS user32 shell32 shlwapi ole32 oleaut32 comctl32 comdlg32)

# The run mode never calls into user32, and loading it at process start costs
# about 40 ms under Wine, as much again as everything else the run mode does
# before the main program starts. So the shell links a delay-load import
# library made from the toolchain's own: user32 is loaded from the system
# folder at the first call into it.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libuser32.a
  OUTPUT_VARIABLE GLIMMER_USER32_IMPORTS OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT CMAKE_NM OR NOT CMAKE_DLLTOOL OR NOT EXISTS "${GLIMMER_USER32_IMPORTS}")
  message(FATAL_ERROR "nm, dlltool and libuser32.a of the MinGW-w64 toolchain are needed")
endif()
set(GLIMMER_USER32_DELAYED ${CMAKE_BINARY_DIR}/delay/libuser32-delayed.a)
add_custom_command(OUTPUT ${GLIMMER_USER32_DELAYED}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
  COMMAND ${CMAKE_SOURCE_DIR}/tools/delay-import-lib ${CMAKE_NM} ${CMAKE_DLLTOOL}
    ${GLIMMER_USER32_IMPORTS} user32.dll ${GLIMMER_USER32_DELAYED} ${GLIMMER_ARCH}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/delay-import-lib
  COMMENT "Making the delay-load import library for user32")
add_custom_target(glimmer_user32_delayed DEPENDS ${GLIMMER_USER32_DELAYED})
glimmer_warnings(glimmer_win32)

# Generated artwork: the icon and the preview picture.
set(GLIMMER_ASSETS ${CMAKE_BINARY_DIR}/assets)
add_custom_command(
  OUTPUT ${GLIMMER_ASSETS}/glimmerdale.ico ${GLIMMER_ASSETS}/preview.jpg
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-assets ${GLIMMER_ASSETS}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-assets
  COMMENT "Drawing the icon and the preview picture")
add_custom_target(glimmer_assets DEPENDS ${GLIMMER_ASSETS}/glimmerdale.ico ${GLIMMER_ASSETS}/preview.jpg)

set(GLIMMER_RC ${CMAKE_SOURCE_DIR}/resources/glimmerdale.rc)
file(GLOB GLIMMER_RESOURCE_FILES CONFIGURE_DEPENDS resources/*)
set_source_files_properties(${GLIMMER_RC} PROPERTIES OBJECT_DEPENDS
  "${GLIMMER_RESOURCE_FILES};${GLIMMER_ASSETS}/glimmerdale.ico;${GLIMMER_ASSETS}/preview.jpg")

add_executable(Glimmerdale WIN32 src/win32/winmain.cpp src/win32/shell_runtime.cpp ${GLIMMER_RC})
set_target_properties(Glimmerdale PROPERTIES SUFFIX ".scr")
target_include_directories(Glimmerdale PRIVATE ${GLIMMER_ASSETS})
# Optimised at link time as one partition: split over several, GCC 12
# crashes in its alias analysis of the shell's code.
set_target_properties(Glimmerdale PROPERTIES GLIMMER_LTO ON)
target_link_options(Glimmerdale PRIVATE -municode $<$<NOT:$<CONFIG:Debug>>:-s>)
# After the code that calls user32 and before the toolchain's default
# libraries, which name the ordinary user32 import library too.
target_link_libraries(Glimmerdale PRIVATE glimmer_win32 ${GLIMMER_USER32_DELAYED} delayimp)
add_dependencies(Glimmerdale glimmer_assets glimmer_user32_delayed)
glimmer_warnings(Glimmerdale)
add_custom_command(TARGET Glimmerdale POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GLIMMER_OUT_DIR}/${GLIMMER_ARCH}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Glimmerdale> ${GLIMMER_OUT_DIR}/${GLIMMER_ARCH}/Glimmerdale.scr)

# Test tools.
add_executable(stand-in-main WIN32 tools/stand-in-main/stand_in_main.cpp)
target_link_options(stand-in-main PRIVATE -municode)
target_link_libraries(stand-in-main PRIVATE user32 gdi32)
glimmer_warnings(stand-in-main)

file(GLOB GLIMMER_DRIVER_SOURCES CONFIGURE_DEPENDS tools/driver/*.cpp)
list(FILTER GLIMMER_DRIVER_SOURCES EXCLUDE REGEX "/driver_main\\.cpp$")
add_library(glimmer_driver STATIC ${GLIMMER_DRIVER_SOURCES})
target_include_directories(glimmer_driver PUBLIC tools)
target_link_libraries(glimmer_driver PUBLIC glimmer_win32 ${GLIMMER_TOOL_DLLS})
set_target_properties(glimmer_driver PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
glimmer_warnings(glimmer_driver)

add_executable(driver tools/driver/driver_main.cpp)
target_link_options(driver PRIVATE -municode)
target_link_libraries(driver PRIVATE glimmer_driver)
glimmer_warnings(driver)

# Tests that need the real platform.
file(GLOB GLIMMER_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/win32/*.cpp tests/wine/win32/*.rc)
add_executable(win32_tests ${GLIMMER_WIN32_TEST_SOURCES} ${GLIMMER_CONTRACT_SOURCES})
target_include_directories(win32_tests PRIVATE resources tests/wine/win32)
target_link_libraries(win32_tests PRIVATE glimmer_fakes glimmer_win32 ${GLIMMER_TOOL_DLLS} GTest::gtest_main)
glimmer_test_headers(win32_tests [["win32/windows_api.h"]] <commctrl.h> <commdlg.h> <objbase.h>
                     <shlobj.h>)
glimmer_warnings(win32_tests)

file(GLOB GLIMMER_E2E_SOURCES CONFIGURE_DEPENDS tests/wine/e2e/*.cpp)
add_executable(e2e_tests ${GLIMMER_E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE glimmer_driver GTest::gtest_main)
# windows.h first in every file of a unity batch, whichever file opens it.
glimmer_test_headers(e2e_tests [["win32/windows_api.h"]])
add_dependencies(e2e_tests Glimmerdale stand-in-main)
add_dependencies(win32_tests Glimmerdale)
glimmer_warnings(e2e_tests)

# A stand-in for a DLL planted beside the shell under a system DLL's name.
add_library(planted SHARED tests/wine/planted/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "" OUTPUT_NAME "planted-mpr")
glimmer_warnings(planted)
add_dependencies(e2e_tests planted)

# Yardsticks for bench/run.
add_subdirectory(bench)
