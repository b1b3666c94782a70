# On a Mac: the layer as a library, and the application bundle once its entry point exists.
set(_library_sources ${ORNAV_MAC_SOURCES})
list(REMOVE_ITEM _library_sources main.mm)
add_library(ornav_platform_mac STATIC ${_library_sources})
target_compile_options(ornav_platform_mac PRIVATE -fobjc-arc -Wundeclared-selector)
target_link_libraries(ornav_platform_mac PUBLIC
  ${ORNAV_MAC_DEPENDENCIES}
  "-framework Foundation"
  "-framework AppKit"
  "-framework Carbon"
  "-framework InputMethodKit"
  "-framework QuartzCore"
  "-framework CoreText"
  "-framework CoreGraphics")

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/main.mm)
  include(ornavel_app.cmake)
else()
  message(STATUS "platform/mac: no main.mm yet; Ornavel.app is not built")
endif()
