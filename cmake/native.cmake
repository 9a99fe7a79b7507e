# Native (Linux) targets: the core's unit tests, fuzz targets, and the CTest
# entries that run the sanitizer and Wine test trees.
include(GoogleTest)

file(GLOB GLIMMER_UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${GLIMMER_UNIT_SOURCES} ${GLIMMER_CONTRACT_SOURCES})
target_link_libraries(unit_tests PRIVATE glimmer_fakes GTest::gtest_main)
glimmer_test_headers(unit_tests)
target_compile_definitions(unit_tests PRIVATE GLIMMER_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
glimmer_warnings(unit_tests)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

file(GLOB GLIMMER_FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
if(GLIMMER_FUZZ)
  foreach(source ${GLIMMER_FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(fuzz_${name} ${source})
    target_link_libraries(fuzz_${name} PRIVATE glimmer_fakes)
    target_compile_options(fuzz_${name} PRIVATE ${GLIMMER_EXERCISED_OPTIONS} -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    glimmer_warnings(fuzz_${name})
  endforeach()
endif()

# The other trees whose programs this run judges are brought up to date first
# (a no-op after scripts/build), so that no check looks at stale binaries.
set(GLIMMER_OTHER_TREES ${GLIMMER_ASAN_DIR} ${GLIMMER_WIN64_DIR} ${GLIMMER_WIN32_DIR})
if(GLIMMER_OTHER_TREES)
  add_test(NAME trees.build
    COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/build-trees ${CMAKE_COMMAND} ${GLIMMER_OTHER_TREES})
  set_tests_properties(trees.build PROPERTIES FIXTURES_SETUP trees TIMEOUT 3600)
endif()

if(GLIMMER_ASAN_DIR)
  add_test(NAME sanitize.unit_tests COMMAND ${GLIMMER_ASAN_DIR}/unit_tests --gtest_brief=1)
  set_tests_properties(sanitize.unit_tests PROPERTIES FIXTURES_REQUIRED trees
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  # Short, bounded fuzz runs; the long runs are made by hand (scripts/fuzz).
  foreach(source ${GLIMMER_FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    # New inputs go to a corpus in the build tree; the committed seeds are only read.
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${corpus} ${CMAKE_BINARY_DIR}/fuzz-artifacts)
    set(seeds)
    if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
      set(seeds ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
    endif()
    add_test(NAME fuzz.${name}
      COMMAND ${GLIMMER_ASAN_DIR}/fuzz_${name} -runs=60000 -max_total_time=60 -seed=1
              -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-artifacts/${name}- ${corpus} ${seeds})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 180 FIXTURES_REQUIRED trees)
  endforeach()
endif()

if(GLIMMER_WIN64_DIR)
  set(harness ${CMAKE_SOURCE_DIR}/scripts/wine-harness)
  set(state ${CMAKE_BINARY_DIR}/wine)
  add_test(NAME wine.start COMMAND ${harness} start ${state})
  add_test(NAME wine.stop COMMAND ${harness} stop ${state})
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED trees
    TIMEOUT 300)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
  foreach(exe win32_tests e2e_tests)
    add_test(NAME wine.${exe}
      COMMAND ${harness} exec ${state} ${GLIMMER_WIN64_DIR}/bin/${exe}.exe --gtest_brief=1)
    set_tests_properties(wine.${exe} PROPERTIES
      FIXTURES_REQUIRED "wine;trees" RESOURCE_LOCK wineprefix TIMEOUT 600)
  endforeach()

  # The same machine with two monitors: the display contracts against the
  # real platform, and what two monitors change in the real dialog.
  set(state2 ${CMAKE_BINARY_DIR}/wine-two-monitors)
  add_test(NAME wine2.start COMMAND ${harness} start ${state2} two-monitors)
  add_test(NAME wine2.stop COMMAND ${harness} stop ${state2})
  set_tests_properties(wine2.start PROPERTIES FIXTURES_SETUP wine2 FIXTURES_REQUIRED trees
    TIMEOUT 300)
  set_tests_properties(wine2.stop PROPERTIES FIXTURES_CLEANUP wine2)
  add_test(NAME wine2.win32_tests COMMAND ${harness} exec ${state2}
    ${GLIMMER_WIN64_DIR}/bin/win32_tests.exe --gtest_brief=1
    "--gtest_filter=*Direct3D9Contract*:*Direct3D11Contract*:*MonitorContract*:*DisplayDeviceContract*:*DirectDrawContract*:DisplayWine.*")
  add_test(NAME wine2.e2e_tests COMMAND ${harness} exec ${state2}
    ${GLIMMER_WIN64_DIR}/bin/e2e_tests.exe --gtest_brief=1 "--gtest_filter=DisplayE2E.*")
  set_tests_properties(wine2.win32_tests wine2.e2e_tests PROPERTIES
    FIXTURES_REQUIRED "wine2;trees" RESOURCE_LOCK wineprefix TIMEOUT 600)
endif()

# The shells as the Windows trees build them.
if(GLIMMER_WIN64_DIR AND GLIMMER_WIN32_DIR)
  set(shells ${GLIMMER_WIN64_DIR}/bin/Glimmerdale.scr ${GLIMMER_WIN32_DIR}/bin/Glimmerdale.scr)
  add_test(NAME shell.imports COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-imports ${shells})
  # The shipped shell with every feature built stays small: a screensaver's
  # helper program has no business being megabytes.
  add_test(NAME shell.size COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-size
    ${GLIMMER_WIN64_DIR}/bin/Glimmerdale.scr 280 ${GLIMMER_WIN32_DIR}/bin/Glimmerdale.scr 340)
  # Built twice, the shells come out byte for byte the same (scripts/reproduce
  # builds them a second time); checked here: what shows where and when.
  add_test(NAME shell.reproducible COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-reproducible
    ${CMAKE_SOURCE_DIR} ${shells})
  set_tests_properties(shell.imports shell.size shell.reproducible PROPERTIES
    FIXTURES_REQUIRED trees)
  if(GLIMMER_WIN64_DIR)
    add_test(NAME wine.signing COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/signing-test
      ${CMAKE_SOURCE_DIR}/scripts/sign ${harness} ${state} ${GLIMMER_WIN64_DIR}/bin/driver.exe
      ${CMAKE_SOURCE_DIR}/out/win64/Glimmerdale.scr ${CMAKE_SOURCE_DIR}/out/win32/Glimmerdale.scr)
    set_tests_properties(wine.signing PROPERTIES
      FIXTURES_REQUIRED "wine;trees" RESOURCE_LOCK wineprefix TIMEOUT 300)
  endif()
endif()

add_test(NAME source.layers COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-layers
  ${CMAKE_SOURCE_DIR}/src)

add_test(NAME setup.apt_sources COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/apt-sources-test
  ${CMAKE_SOURCE_DIR}/scripts/apt-source-entries)
