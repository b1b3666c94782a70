# Ornavel.app, the input method as macOS loads it from "/Library/Input Methods":
#   Contents/MacOS/Ornavel                      the process (main.mm)
#   Contents/Info.plist                         resources/Info.plist.in, configured
#   Contents/Resources/                         keymap.json, keymap-uly.json, ornav.ttf,
#                                               AppIcon.icns, the menu-bar icon
#                                               MenuIconTemplate.png with its @2x, dict/*.fst,
#                                               dict/ranking.idx, en.lproj/InfoPlist.strings (the
#                                               input mode's name)
#   Contents/Frameworks/libornav_engine.dylib   found through @rpath
# Everything but the entry point comes from the layer's library (ornav_platform_mac) and the
# portable libraries it links. ICU is linked statically (cmake/OrnavAppleIcu.cmake), so the bundle
# needs nothing outside itself but macOS. The resources are the ones the Linux program's bundle
# layout carries (resources/bundle.cmake).
include(${PROJECT_SOURCE_DIR}/resources/OrnavResources.cmake)

set(_icons ${ORNAV_RESOURCE_ICON_DIR}/AppIcon.icns ${ORNAV_RESOURCE_ICON_DIR}/MenuIconTemplate.png
           ${ORNAV_RESOURCE_ICON_DIR}/MenuIconTemplate@2x.png)
set(_resources ${ORNAV_RESOURCE_KEYMAP} ${ORNAV_RESOURCE_KEYMAP_ULY} ${ORNAV_RESOURCE_FONT}
               ${_icons})
set(_maps ${ORNAV_RESOURCE_DICT_DIR}/unigram.fst ${ORNAV_RESOURCE_DICT_DIR}/bigram.fst
          ${ORNAV_RESOURCE_DICT_DIR}/ranking.idx)
set(_strings ${CMAKE_CURRENT_BINARY_DIR}/en.lproj/InfoPlist.strings)
configure_file(${PROJECT_SOURCE_DIR}/resources/InfoPlist.strings.in ${_strings} @ONLY)

set_source_files_properties(${_resources} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
set_source_files_properties(${_maps} PROPERTIES MACOSX_PACKAGE_LOCATION Resources/dict)
set_source_files_properties(${_strings} PROPERTIES MACOSX_PACKAGE_LOCATION Resources/en.lproj)
# Made by the build (resources/CMakeLists.txt), not found in the source tree.
set_source_files_properties(${_maps} ${_icons} PROPERTIES GENERATED TRUE)

add_executable(Ornavel MACOSX_BUNDLE main.mm ${_resources} ${_maps} ${_strings})
set_target_properties(Ornavel PROPERTIES
  # Configured with PROJECT_VERSION and ORNAV_DISPLAY_NAME, like the build tree's bundle.
  MACOSX_BUNDLE_INFO_PLIST ${PROJECT_SOURCE_DIR}/resources/Info.plist.in
  BUILD_WITH_INSTALL_RPATH ON
  INSTALL_RPATH "@executable_path/../Frameworks")
target_compile_options(Ornavel PRIVATE -fobjc-arc -Wundeclared-selector)
target_link_libraries(Ornavel PRIVATE ornav_platform_mac ornav_engine)
# InputMethodKit makes the controller class by its name from Info.plist; nothing in the program
# refers to it, so every Objective-C class of the static libraries is loaded.
target_link_options(Ornavel PRIVATE -ObjC)
add_dependencies(Ornavel ornav_dict_maps ornav_app_icon)

# The check of the built bundle that only a Mac can run (docs/macos.md, first build): linked like
# the application, it finds the controller class Info.plist names and starts a server for it.
add_executable(ornavel-smoke ${ORNAV_MAC_SMOKE_SOURCES})
target_compile_options(ornavel-smoke PRIVATE -fobjc-arc -Wundeclared-selector)
target_link_libraries(ornavel-smoke PRIVATE ornav_platform_mac ornav_engine)
target_link_options(ornavel-smoke PRIVATE -ObjC)
add_test(NAME ornavel_smoke_test COMMAND ornavel-smoke $<TARGET_BUNDLE_DIR:Ornavel>)

# The engine library travels inside the bundle; its install name is @rpath/libornav_engine.dylib.
add_custom_command(
  TARGET Ornavel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_BUNDLE_CONTENT_DIR:Ornavel>/Frameworks
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ornav_engine>
          $<TARGET_BUNDLE_CONTENT_DIR:Ornavel>/Frameworks/
  VERBATIM)
