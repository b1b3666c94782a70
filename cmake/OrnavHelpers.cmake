# Small helpers so every folder declares tests, benchmarks and fuzzers the same way.

# Every test program starts from one precompiled header of GoogleTest, gMock, the JSON library and
# the standard headers the tests use most: parsing them was half of each test's compile time.
if(ORNAV_TESTS AND NOT TARGET ornav_test_pch)
  find_package(GTest REQUIRED)
  find_package(nlohmann_json REQUIRED)
  add_library(ornav_test_pch OBJECT ${CMAKE_CURRENT_LIST_DIR}/test_pch.cpp)
  target_link_libraries(ornav_test_pch PRIVATE GTest::gtest GTest::gmock nlohmann_json::nlohmann_json)
  target_precompile_headers(ornav_test_pch PRIVATE
    <gtest/gtest.h> <gmock/gmock.h> <nlohmann/json.hpp>
    <chrono> <filesystem> <fstream> <functional> <map> <memory> <optional> <sstream> <string>
    <thread> <vector>)
endif()

# Test code itself is not optimised: it builds a quarter faster and runs as fast (the code under
# test keeps the build's optimisation).
function(_ornav_test_code_flags target)
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${target} PRIVATE -O0)
  endif()
  target_compile_definitions(${target} PRIVATE ORNAV_SHARED_DIR="${ORNAV_SHARED_DIR}"
                                               ORNAV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # One precompiled header serves all tests only when they are compiled alike: Qt's tests must be
  # position independent and some tests link GLib's threads, so every test is both.
  target_compile_options(${target} PRIVATE -fPIC -pthread)
endfunction()
if(TARGET ornav_test_pch)
  _ornav_test_code_flags(ornav_test_pch)
endif()

# ornav_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable, registered with CTest as one test. Folders call it only with
# ORNAV_TESTS on (their tests come after `if(NOT ORNAV_TESTS) return()`).
function(ornav_add_test name)
  if(NOT ORNAV_TESTS)
    message(FATAL_ERROR "ornav_add_test(${name}) with ORNAV_TESTS off")
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
                                        nlohmann_json::nlohmann_json)
  _ornav_test_code_flags(${name})
  target_precompile_headers(${name} REUSE_FROM ornav_test_pch)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# ornav_add_benchmark(NAME SOURCES ... LIBS ...): a Google Benchmark program, never run by CTest.
function(ornav_add_benchmark name)
  if(NOT ORNAV_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

# ornav_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, built only with ORNAV_FUZZ.
# Targets land in <build>/fuzz/ where scripts/fuzz finds them.
if(ORNAV_FUZZ AND NOT TARGET fuzz_targets)
  add_custom_target(fuzz_targets)
endif()
function(ornav_add_fuzzer name)
  if(NOT ORNAV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
  add_dependencies(fuzz_targets ${name})
endfunction()
