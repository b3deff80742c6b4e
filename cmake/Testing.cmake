# GoogleTest: the system package on the host, built from its sources for MinGW.
include(CTest)

if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
  set(VR38_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The 32-bit Wine root that scripts/bootstrap makes; the suites fail with a
    # clear message where it is missing.
    if(DEFINED ENV{XDG_CACHE_HOME})
      set(cache_home $ENV{XDG_CACHE_HOME})
    else()
      set(cache_home $ENV{HOME}/.cache)
    endif()
    set(VR38_WINE32_ROOT ${cache_home}/vr38update/wine32 CACHE PATH "32-bit Wine root made by scripts/bootstrap")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run --win32 ${VR38_WINE32_ROOT}
                                      ${VR38_WINE_TEMPLATE})
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run ${VR38_WINE_TEMPLATE})
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# Every suite's time-out in seconds when set; otherwise each kind has its own.
# The mutation run sets it, so that a fault that loops costs little.
set(VR38_TEST_TIMEOUT "" CACHE STRING "Time-out of every suite, in seconds (empty: each kind's own)")

# vr38_windows_test(NAME SOURCES... LIBS... [ARGS...]): a GoogleTest program
# run under Wine in a private prefix (only where VR38_WINE_TESTS is on), with
# the arguments given; Wine runs under the C.UTF-8 locale (cmake/wine-run).
function(vr38_windows_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  vr38_windows_run(${name} ${name} C.UTF-8 ${ARG_ARGS})
endfunction()

# vr38_windows_run(NAME PROGRAM LOCALE ARGS...): a Windows test program run
# under Wine with the arguments given, Wine started under that Unix locale,
# from which it takes the ANSI code page (C.UTF-8: 1252; ja_JP.UTF-8: 932).
function(vr38_windows_run name program locale)
  if(VR38_WINE_TESTS)
    add_test(NAME ${name} COMMAND ${program} ${ARGN})
    # The 32-bit suites run on an emulated CPU: about twice as slow, more on a loaded machine.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(timeout 1800)
    else()
      set(timeout 600)
    endif()
    if(VR38_TEST_TIMEOUT)
      set(timeout ${VR38_TEST_TIMEOUT})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${timeout} ENVIRONMENT VR38_WINE_LOCALE=${locale})
  endif()
endfunction()

# vr38_unit_test(NAME SOURCES... LIBS...): a native GoogleTest suite.
function(vr38_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set(timeout 120)
  if(VR38_TEST_TIMEOUT)
    set(timeout ${VR38_TEST_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout})
endfunction()
