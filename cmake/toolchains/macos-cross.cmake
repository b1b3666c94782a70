# Builds the macOS product away from a Mac: clang (14 or later) for an Apple target against a macOS
# SDK laid out as a sysroot (System/Library/Frameworks, usr/include with c++/v1, usr/lib), linking
# with lld's Mach-O linker against the SDK's .tbd stubs. It proves that the Apple branch of the
# build configures and that every object compiles with Apple's headers and C++ library; what a
# copy of the SDK lacks (libSystem and libc++ stubs, InputMethodKit) shows at the link.
#
#   cmake -S . -B build-mac-x86_64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/macos-cross.cmake \
#         -DORNAV_MACOS_SDK=/path/to/MacOSX14.2.sdk -DORNAV_MACOS_ARCH=x86_64 \
#         [-DORNAV_MACOS_LINK_FLAGS="-F/path/to/more/stubs"]
#
# scripts/mac/cross-configure does this with ICU and nlohmann_json headers from the build machine.
set(CMAKE_SYSTEM_NAME Darwin)

if(NOT ORNAV_MACOS_SDK AND DEFINED ENV{ORNAV_MACOS_SDK})
  set(ORNAV_MACOS_SDK $ENV{ORNAV_MACOS_SDK})
endif()
if(NOT ORNAV_MACOS_ARCH)
  set(ORNAV_MACOS_ARCH x86_64)
endif()
if(NOT IS_DIRECTORY "${ORNAV_MACOS_SDK}/System/Library/Frameworks" OR
   NOT IS_DIRECTORY "${ORNAV_MACOS_SDK}/usr/include/c++/v1")
  message(FATAL_ERROR "ORNAV_MACOS_SDK (${ORNAV_MACOS_SDK}) must name a macOS SDK: "
                      "System/Library/Frameworks and usr/include/c++/v1 inside it")
endif()
# The configuration's try-compile projects read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORNAV_MACOS_SDK ORNAV_MACOS_ARCH
     ORNAV_MACOS_LINK_FLAGS)

# The oldest macOS each architecture runs: 10.15 on Intel, 11.0 on Apple silicon.
# (CMAKE_SYSTEM_VERSION is the Darwin kernel's version; CMake's Darwin rules read it.)
if(ORNAV_MACOS_ARCH STREQUAL "arm64")
  set(_minimum 11.0)
  set(_minimum_number 110000)
  set(CMAKE_SYSTEM_VERSION 20.0.0)
elseif(ORNAV_MACOS_ARCH STREQUAL "x86_64")
  set(_minimum 10.15)
  set(_minimum_number 101500)
  set(CMAKE_SYSTEM_VERSION 19.0.0)
else()
  message(FATAL_ERROR "ORNAV_MACOS_ARCH must be arm64 or x86_64, not ${ORNAV_MACOS_ARCH}")
endif()
set(CMAKE_SYSTEM_PROCESSOR ${ORNAV_MACOS_ARCH})
set(CMAKE_OSX_ARCHITECTURES ${ORNAV_MACOS_ARCH} CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET ${_minimum} CACHE STRING "")
set(CMAKE_OSX_SYSROOT ${ORNAV_MACOS_SDK} CACHE PATH "")

find_program(_clang NAMES clang-14 clang REQUIRED)
find_program(_clangxx NAMES clang++-14 clang++ REQUIRED)
find_program(_ld64 NAMES ld64.lld ld64.lld-14 REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar-14 llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-14 llvm-ranlib REQUIRED)
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool-14 llvm-install-name-tool)
set(CMAKE_C_COMPILER ${_clang})
set(CMAKE_CXX_COMPILER ${_clangxx})
set(CMAKE_OBJCXX_COMPILER ${_clangxx})

# The SDK's headers read the deployment target from a macro that clang defines only from version
# 15 on; InputMethodKit, which a public copy of the SDK may lack, comes from our declarations.
set(_flags "-D__ENVIRONMENT_OS_VERSION_MIN_REQUIRED__=${_minimum_number}")
if(NOT IS_DIRECTORY "${ORNAV_MACOS_SDK}/System/Library/Frameworks/InputMethodKit.framework")
  set(_overlay "${CMAKE_BINARY_DIR}/ornav-sdk-overlay")
  file(MAKE_DIRECTORY ${_overlay})
  file(CREATE_LINK "${CMAKE_CURRENT_LIST_DIR}/../../platform/mac/sdk-decls/InputMethodKit"
       "${_overlay}/InputMethodKit" SYMBOLIC)
  string(APPEND _flags " -isystem ${_overlay}")
endif()
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET ${ORNAV_MACOS_ARCH}-apple-macos${_minimum})
  set(CMAKE_${lang}_FLAGS_INIT "${_flags}")
endforeach()
# Apple's C++ library, from the SDK (clang's own default depends on what it makes of the SDK).
string(APPEND CMAKE_CXX_FLAGS_INIT " -stdlib=libc++")
string(APPEND CMAKE_OBJCXX_FLAGS_INIT " -stdlib=libc++")
# The linker version tells clang to pass -platform_version, which lld requires, rather than the
# older -macosx_version_min. ORNAV_MACOS_LINK_FLAGS adds to them (for instance -F and -L for
# folders of stubs that a copy of the SDK lacks).
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT
      "--ld-path=${_ld64} -mlinker-version=705 ${ORNAV_MACOS_LINK_FLAGS}")
endforeach()
# CMake's Darwin rules enable run paths after asking the running macOS its version (sw_vers);
# the rules file turns them on after those rules have run.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/macos-cross-rules.cmake)

# Nothing can be run, so the compiler checks build static libraries only.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# Programs are the build machine's. Headers and libraries are found where the configuration
# names them (ICU_ROOT, nlohmann_json_DIR) before the SDK's own (CMake's Darwin rules add the SDK
# to the system paths), so the SDK's partial ICU headers never stand in for ICU's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE NEVER)
