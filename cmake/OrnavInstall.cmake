# What `cmake --install` puts under the prefix, and the Debian package made from the same install
# (scripts/package):
#   lib/ornavel/Ornavel.app/Contents/    the bundle as the build lays it out: Info.plist, Resources
#                                        (key map, font, icon, dictionary maps), Frameworks
#                                        (libornav_engine.so), MacOS (Ornavel, the typing pad, and
#                                        ornavel-ibus, the IBus engine)
#   bin/ornavel, bin/srcenrol            the typing pad (a link into the bundle), the registration
#   share/ibus/component/ornavel.xml     the IBus component, written with the install prefix
#   share/icons/hicolor/*/apps/ornavel.png
# The programs find the bundle from their own path, and the engine library through their run path.
include(${PROJECT_SOURCE_DIR}/resources/OrnavResources.cmake)
set(ORNAV_INSTALL_BUNDLE "lib/ornavel/Ornavel.app")
set(_contents "${ORNAV_INSTALL_BUNDLE}/Contents")

install(FILES ${ORNAV_BUNDLE_DIR}/Contents/Info.plist DESTINATION ${_contents})
install(DIRECTORY ${ORNAV_BUNDLE_DIR}/Contents/Resources/ DESTINATION ${_contents}/Resources)
install(TARGETS ornav_engine LIBRARY DESTINATION ${_contents}/Frameworks)
set(_installed ornav_engine ornavel_bundle)
foreach(program Ornavel ornavel-ibus)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../Frameworks")
    install(TARGETS ${program} RUNTIME DESTINATION ${_contents}/MacOS)
    list(APPEND _installed ${program})
  endif()
endforeach()
if(TARGET Ornavel)
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${_contents}/MacOS/Ornavel
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/ornavel\" SYMBOLIC)")
endif()
if(TARGET srcenrol)
  install(TARGETS srcenrol RUNTIME DESTINATION bin)
  list(APPEND _installed srcenrol)
endif()
if(TARGET ornav_app_icon)
  foreach(size 16 32 48 64 128 256 512)
    install(FILES ${ORNAV_RESOURCE_ICON_DIR}/AppIcon_${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ornavel.png)
  endforeach()
  list(APPEND _installed ornav_app_icon)
endif()
# The component names the installed engine and icon, so it is written at install time, when the
# prefix is final (a package's prefix is chosen after configuring).
if(TARGET ornavel-ibus)
  set(_values "")
  foreach(var COMPONENT_NAME ENGINE_NAME LONGNAME LANGUAGE LAYOUT SYMBOL AUTHOR LICENSE)
    string(APPEND _values "set(ORNAV_IBUS_${var} \"${ORNAV_IBUS_${var}}\")\n")
  endforeach()
  install(CODE "${_values}
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(ORNAV_IBUS_EXEC_PATH \"\${CMAKE_INSTALL_PREFIX}/${_contents}/MacOS/ornavel-ibus\")
    set(ORNAV_IBUS_ICON_PATH \"\${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/64x64/apps/ornavel.png\")
    configure_file(\"${ORNAV_IBUS_TEMPLATE}\"
                   \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/ibus/component/ornavel.xml\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES
         \"\${CMAKE_INSTALL_PREFIX}/share/ibus/component/ornavel.xml\")")
endif()
# The package's own documents: its copyright (the font's licence among it) and its changelog.
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
                   COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/scripts/debian/changelog > ${_changelog}
                   DEPENDS ${PROJECT_SOURCE_DIR}/scripts/debian/changelog)
add_custom_target(ornavel_changelog ALL DEPENDS ${_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/scripts/debian/copyright ${_changelog}
        DESTINATION share/doc/ornavel)
list(APPEND _installed ornavel_changelog)
# What an install needs built, without the tests and tools around it.
add_custom_target(ornavel_install_set DEPENDS ${_installed})
unset(_contents)

# --- The Debian package: ornavel_<version>_<arch>.deb ---
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ornavel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Uyghur input method with word prediction for IBus")
set(CPACK_PACKAGE_DESCRIPTION
    "Ornavel types Uyghur in its Arabic script from a Latin keyboard: a phonetic\nkey map, ranked whole-word candidates under the caret in rows of five, and a\nprediction of the next word after every pick. It is an IBus engine, listed as\nUyghur - Ornavel, and comes with a typing pad.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ornavel team <team@ornavel.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The linked libraries' packages come from dpkg-shlibdeps; ibus is what starts the engine.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/engine")
# The window-system plugins Qt loads at run time are no linked library.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ibus, qt6-qpa-plugins")
# The dialogs' Chinese texts and the icon in the about window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
