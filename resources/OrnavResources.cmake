# Where the application's resources are, for any CMakeLists.txt that packages them:
#   include(${PROJECT_SOURCE_DIR}/resources/OrnavResources.cmake)
# Sets:
#   ORNAV_DISPLAY_NAME        the input method's name in Uyghur (from display-name.txt), e.g.
#                             for the bundle's input-mode name in Info.plist
#   ORNAV_RESOURCE_KEYMAP     keymap.json (the phonetic layout)
#   ORNAV_RESOURCE_KEYMAP_ULY keymap-uly.json (the ULY spelling layout)
#   ORNAV_RESOURCE_FONT       ornav.ttf (the candidate font) and ORNAV_RESOURCE_FONT_LICENSE
#   ORNAV_RESOURCE_DICT_DIR   the folder the build writes unigram.fst, bigram.fst and the
#                             engine's ranking.idx to
#                             (target ornav_dict_maps; absent until the counts are committed)
#   ORNAV_RESOURCE_ICON_DIR   the folder the build writes AppIcon.icns and AppIcon_<size>.png
#                             to, and the menu-bar icon MenuIconTemplate.png with its @2x
#                             (target ornav_app_icon)
# The display name is read here, once, so every user of it sees the same text.
get_filename_component(_ornav_resources "${CMAKE_CURRENT_LIST_DIR}" ABSOLUTE)

file(READ "${_ornav_resources}/display-name.txt" ORNAV_DISPLAY_NAME)
string(STRIP "${ORNAV_DISPLAY_NAME}" ORNAV_DISPLAY_NAME)
if(ORNAV_DISPLAY_NAME STREQUAL "" OR ORNAV_DISPLAY_NAME MATCHES "[\n\"\\\\]")
  message(FATAL_ERROR "resources/display-name.txt must hold one line without quotes or backslashes")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${_ornav_resources}/display-name.txt")

set(ORNAV_RESOURCE_KEYMAP "${_ornav_resources}/keymap.json")
set(ORNAV_RESOURCE_KEYMAP_ULY "${_ornav_resources}/keymap-uly.json")
set(ORNAV_RESOURCE_FONT "${_ornav_resources}/ornav.ttf")
set(ORNAV_RESOURCE_FONT_LICENSE "${_ornav_resources}/OFL.txt")
set(ORNAV_RESOURCE_DICT_DIR "${CMAKE_BINARY_DIR}/dict")
set(ORNAV_RESOURCE_ICON_DIR "${CMAKE_BINARY_DIR}/resources/icon")
unset(_ornav_resources)
