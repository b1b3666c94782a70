# Small helpers so every folder declares tests, benchmarks and fuzzers the same way.

# ornav_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable, registered with CTest as one test. Folders call it only with
# ORNAV_TESTS on (their tests come after `if(NOT ORNAV_TESTS) return()`).
function(ornav_add_test name)
  if(NOT ORNAV_TESTS)
    message(FATAL_ERROR "ornav_add_test(${name}) with ORNAV_TESTS off")
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORNAV_SHARED_DIR="${ORNAV_SHARED_DIR}"
                                             ORNAV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # Test code itself is not optimised: it builds a quarter faster and runs as fast (the code under
  # test keeps the build's optimisation).
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${name} PRIVATE -O0)
  endif()
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
