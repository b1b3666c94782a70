# Assembles the application bundle layout in the build tree, the same on every platform:
#   Ornavel.app/Contents/Info.plist
#   Ornavel.app/Contents/Resources/{keymap.json, keymap-uly.json, ornav.ttf, AppIcon.icns,
#                                    MenuIconTemplate.png and its @2x, dict/*.fst, dict/ranking.idx}
#   Ornavel.app/Contents/Resources/en.lproj/InfoPlist.strings (the input mode's display name)
#   Ornavel.app/Contents/Frameworks/libornav_engine.so (.dylib on a Mac)
# The host program is placed in Contents/MacOS by the folder that builds it; the bundle reader
# finds the resources from there.
set(_contents ${ORNAV_BUNDLE_DIR}/Contents)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/Info.plist.in ${_contents}/Info.plist @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/InfoPlist.strings.in
               ${_contents}/Resources/en.lproj/InfoPlist.strings @ONLY)

set(_copies)
macro(_ornav_bundle_copy source destination)
  add_custom_command(
    OUTPUT ${destination}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${destination}
    DEPENDS ${source} ${ARGN}
    VERBATIM)
  list(APPEND _copies ${destination})
endmacro()

_ornav_bundle_copy(${ORNAV_RESOURCE_KEYMAP} ${_contents}/Resources/keymap.json)
_ornav_bundle_copy(${ORNAV_RESOURCE_KEYMAP_ULY} ${_contents}/Resources/keymap-uly.json)
_ornav_bundle_copy(${ORNAV_RESOURCE_FONT} ${_contents}/Resources/ornav.ttf)
if(TARGET ornav_dict_maps AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/dict/unigram.tsv)
  foreach(file unigram.fst bigram.fst ranking.idx)
    _ornav_bundle_copy(${ORNAV_RESOURCE_DICT_DIR}/${file} ${_contents}/Resources/dict/${file}
                       ornav_dict_maps)
  endforeach()
endif()
if(ORNAV_RSVG_CONVERT AND ORNAV_PNG2ICNS)
  foreach(icon AppIcon.icns MenuIconTemplate.png MenuIconTemplate@2x.png)
    _ornav_bundle_copy(${ORNAV_RESOURCE_ICON_DIR}/${icon} ${_contents}/Resources/${icon}
                       ornav_app_icon)
  endforeach()
endif()

add_custom_target(ornavel_bundle ALL DEPENDS ${_copies})
add_custom_command(
  TARGET ornavel_bundle POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_contents}/Frameworks
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ornav_engine> ${_contents}/Frameworks/
  VERBATIM)
add_dependencies(ornavel_bundle ornav_engine)
unset(_contents)
unset(_copies)
