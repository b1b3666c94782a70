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

#   ornav_mac_declared_selectors_check(NAME HEADER <file> PROTOCOL <name> IMPORT <header>
#                                      [REJECTS <error text>])
#
# Every method of the protocol PROTOCOL in HEADER must be one that IMPORT (say
# <InputMethodKit/InputMethodKit.h>) declares by itself: a file generated at configuration forms
# each selector of the protocol with @selector after importing only IMPORT, and compiles under
# -Wundeclared-selector. A protocol that restates the methods a class overrides is checked so.
function(ornav_mac_declared_selectors_check name)
  cmake_parse_arguments(ARG "" "HEADER;PROTOCOL;IMPORT;REJECTS" "" ${ARGN})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_HEADER})
  file(READ ${ARG_HEADER} text)
  string(FIND "${text}" "@protocol ${ARG_PROTOCOL}\n" begin)
  if(begin EQUAL -1)
    message(FATAL_ERROR "${ARG_HEADER} declares no protocol ${ARG_PROTOCOL}")
  endif()
  string(SUBSTRING "${text}" ${begin} -1 text)
  string(FIND "${text}" "@end" end)
  string(SUBSTRING "${text}" 0 ${end} text)
  # One declaration per ";", whatever its lines: the result type, then each part's type and
  # parameter name, are dropped from "- (type)part:(type)name part:(type)name".
  string(REPLACE "\n" " " text "${text}")
  string(REPLACE ";" "\n" text "${text}")
  string(REGEX MATCHALL "[-+] *\\([^)]*\\)[^\n]*" declarations "${text}")
  set(lines)
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE "^[-+] *\\([^)]*\\) *" "" selector "${declaration}")
    string(REGEX REPLACE ": *\\([^)]*\\) *[A-Za-z_][A-Za-z0-9_]*" ":" selector "${selector}")
    string(REGEX REPLACE "[ \t]" "" selector "${selector}")
    string(APPEND lines "  (void)@selector(${selector});\n")
  endforeach()
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${name}.mm)
  file(CONFIGURE OUTPUT ${file} CONTENT
       "// Generated from ${ARG_HEADER}: the methods of ${ARG_PROTOCOL}.\n#import ${ARG_IMPORT}\n\nvoid selectors();\nvoid selectors() {\n${lines}}\n")
  set(rejects)
  if(ARG_REJECTS)
    set(rejects REJECTS ${ARG_REJECTS})
  endif()
  ornav_mac_compile_check(${name} FILE ${file} ${rejects})
endfunction()
