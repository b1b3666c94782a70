# On a Mac the application may depend only on what its bundle carries and what macOS provides, and
# macOS provides no public ICU. The portable text rules use ICU, so it is linked statically: the
# static libraries of the ICU found here (Homebrew's icu4c ships them; ICU_ROOT names another) are
# chosen before any folder looks for ICU, so ICU::uc is the static common library. That library
# needs the data library, so ICU::uc brings ICU::data to every target that links it (the
# application, and ornav-dict, which builds the maps with the same text rules). Include before the
# application's folders.
include_guard(GLOBAL)

set(_icu_hints ${ICU_ROOT} $ENV{ICU_ROOT} /opt/homebrew/opt/icu4c /usr/local/opt/icu4c)
find_path(ICU_INCLUDE_DIR unicode/uversion.h HINTS ${_icu_hints} PATH_SUFFIXES include
          DOC "ICU headers")
find_library(ICU_UC_LIBRARY_RELEASE NAMES libicuuc.a HINTS ${_icu_hints} PATH_SUFFIXES lib
             DOC "ICU common library, static")
find_library(ICU_DATA_LIBRARY_RELEASE NAMES libicudata.a HINTS ${_icu_hints} PATH_SUFFIXES lib
             DOC "ICU data library, static")
if(NOT ICU_INCLUDE_DIR OR NOT ICU_UC_LIBRARY_RELEASE OR NOT ICU_DATA_LIBRARY_RELEASE)
  message(FATAL_ERROR "A static ICU is needed on macOS (libicuuc.a, libicudata.a): "
                      "brew install icu4c, or set ICU_ROOT to an ICU installation")
endif()
find_package(ICU REQUIRED COMPONENTS uc data)
set_property(TARGET ICU::uc APPEND PROPERTY INTERFACE_LINK_LIBRARIES ICU::data)

# The package declares the architectures it holds, so every architecture built must be in ICU's
# libraries too: Homebrew's are the Mac's own architecture only, and a universal build
# (CMAKE_OSX_ARCHITECTURES "arm64;x86_64") needs a universal ICU.
set(_archs ${CMAKE_OSX_ARCHITECTURES})
if(NOT _archs)
  set(_archs ${CMAKE_SYSTEM_PROCESSOR})
endif()
find_program(ORNAV_LIPO NAMES lipo llvm-lipo llvm-lipo-14 DOC "lists a library's architectures")
if(ORNAV_LIPO)
  foreach(library ${ICU_UC_LIBRARY_RELEASE} ${ICU_DATA_LIBRARY_RELEASE})
    execute_process(COMMAND ${ORNAV_LIPO} -archs ${library} OUTPUT_VARIABLE _held
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _failed ERROR_QUIET)
    if(_failed)
      continue()
    endif()
    separate_arguments(_held UNIX_COMMAND "${_held}")
    foreach(arch IN LISTS _archs)
      if(NOT arch IN_LIST _held)
        message(FATAL_ERROR "${library} holds ${_held}, not ${arch}: build for the "
                            "architectures it holds, or set ICU_ROOT to an ICU built for "
                            "${_archs}")
      endif()
    endforeach()
  endforeach()
endif()
