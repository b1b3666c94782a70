# Compile checks of the macOS layer away from a Mac: Objective-C++ files are compiled by clang in
# syntax-only mode against our own declarations of the Apple API (platform/mac/sdk-decls), with
# ARC, blocks and the macOS Objective-C runtime, and every warning an error. Each check is one
# CTest test.
#
#   ornav_mac_compile_check(NAME FILE <file> [CONTEXT <target>] [INCLUDES <dir>...]
#                           [VERIFY] [REJECTS <error text>])
#
# CONTEXT names a target whose include directories (its dependencies' included) the file is
# compiled with; INCLUDES adds directories. VERIFY compiles in clang's -verify mode: the file's
# "expected-error" comments must match the errors exactly (notes are not compared). REJECTS
# registers a check that must fail with an error containing the given text.
include_guard(GLOBAL)

find_program(ORNAV_MAC_CHECK_COMPILER NAMES clang++-14 clang++
             DOC "clang used to compile-check the Objective-C++ files of the macOS layer")
if(NOT ORNAV_MAC_CHECK_COMPILER)
  message(WARNING "clang++ not found: the macOS layer is not compile-checked (install clang-14)")
endif()

function(ornav_mac_compile_check name)
  cmake_parse_arguments(ARG "VERIFY" "FILE;CONTEXT;REJECTS" "INCLUDES" ${ARGN})
  if(NOT ORNAV_MAC_CHECK_COMPILER)
    return()
  endif()
  # The Linux default Objective-C runtime has no ARC; the macOS one is named instead.
  set(flags -x objective-c++ -std=c++20 -fsyntax-only -fobjc-arc -fblocks
            -fobjc-runtime=macosx-10.15 -D__APPLE__ -D__MACH__
            -Wall -Wextra -Wundeclared-selector -Werror
            -isystem ${PROJECT_SOURCE_DIR}/platform/mac/sdk-decls)
  set(includes)
  foreach(dir IN LISTS ARG_INCLUDES)
    list(APPEND includes "-I${dir}")
  endforeach()
  if(ARG_CONTEXT)
    # The context's include directories, without the system's own (an explicit -I/usr/include
    # would reorder the C++ library's headers).
    set(dirs "$<TARGET_PROPERTY:${ARG_CONTEXT},INCLUDE_DIRECTORIES>")
    set(dirs "$<FILTER:${dirs},EXCLUDE,^/usr(/local)?/include/?$>")
    list(APPEND includes "-I$<JOIN:${dirs},$<SEMICOLON>-I>")
  endif()
  set(verify)
  if(ARG_VERIFY)
    set(verify -Xclang -verify -Xclang -verify-ignore-unexpected=note)
  endif()
  add_test(NAME ${name}
           COMMAND ${ORNAV_MAC_CHECK_COMPILER} ${flags} ${includes} ${verify}
                   ${ARG_FILE}
           COMMAND_EXPAND_LISTS)
  set_tests_properties(${name} PROPERTIES LABELS mac-compile-check TIMEOUT 120)
  if(ARG_REJECTS)
    # The output must name the fault: a check that fails for another reason (a broken command
    # line, a missing file) does not pass.
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "error: ${ARG_REJECTS}")
  endif()
endfunction()
