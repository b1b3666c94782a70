# On a Mac the application may depend only on what its bundle carries and what macOS provides, and
# macOS provides no public ICU. The portable text rules use ICU, so it is linked statically: the
# static libraries of the ICU found here (Homebrew's icu4c ships them; ICU_ROOT names another) are
# chosen before app/base looks for ICU, so ICU::uc is the static common library, and its data
# library, which the static common library needs, is linked into the application
# (platform/mac/ornavel_app.cmake). Include before the application's folders.
include_guard(GLOBAL)

set(_icu_hints ${ICU_ROOT} $ENV{ICU_ROOT} /opt/homebrew/opt/icu4c /usr/local/opt/icu4c)
find_path(ICU_INCLUDE_DIR unicode/uversion.h HINTS ${_icu_hints} PATH_SUFFIXES include
          DOC "ICU headers")
find_library(ICU_UC_LIBRARY_RELEASE NAMES libicuuc.a HINTS ${_icu_hints} PATH_SUFFIXES lib
             DOC "ICU common library, static: linked into Ornavel.app")
find_library(ORNAV_ICU_DATA_STATIC NAMES libicudata.a HINTS ${_icu_hints} PATH_SUFFIXES lib
             DOC "ICU data library, static: linked into Ornavel.app")
if(NOT ICU_INCLUDE_DIR OR NOT ICU_UC_LIBRARY_RELEASE OR NOT ORNAV_ICU_DATA_STATIC)
  message(FATAL_ERROR "A static ICU is needed on macOS (libicuuc.a, libicudata.a): "
                      "brew install icu4c, or set ICU_ROOT to an ICU installation")
endif()
