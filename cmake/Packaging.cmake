# SPDX-License-Identifier: MIT
# Desktop integration files and the Debian package.

install(FILES ${PROJECT_SOURCE_DIR}/data/app.quelmo.Quelmo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/app.quelmo.Quelmo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/quelmo.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The app icon, and the tray symbols for panels that look icons up by name.
install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/quelmo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME app.quelmo.Quelmo.svg)
foreach(symbol eye eye.slash eye.slash.fill pause.circle exclamationmark.circle airpodspro)
  string(REPLACE "." "-" name "quelmo-${symbol}")
  install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/light/${symbol}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/status RENAME ${name}.svg)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/dark/${symbol}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/status RENAME ${name}-dark.svg)
endforeach()
# The symbolic ones, in the hicolor theme and in a theme folder of Quelmo's
# own that the tray item names to the panel.
file(GLOB symbolic_icons ${PROJECT_SOURCE_DIR}/ui/icons/symbolic/*.svg)
install(FILES ${symbolic_icons} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/status)
install(FILES ${symbolic_icons}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quelmo/icons/hicolor/scalable/status)
install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/index.theme
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quelmo/icons/hicolor)

set(CPACK_PACKAGE_NAME "quelmo")
set(CPACK_PACKAGE_VENDOR "Quelmo")
set(CPACK_PACKAGE_CONTACT "Quelmo <hello@quelmo.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Frost your screen when you turn away or walk off")
set(CPACK_PACKAGE_DESCRIPTION
    "Quelmo watches where your head points, using the head-tracking motion of your earbuds, and frosts every display when you turn away or walk off. Looking back, or touching the keyboard or mouse, clears it.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies are found from the programs themselves; the QML modules
# the windows load at run time are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-layouts, qml6-module-qtquick-shapes, qml6-module-qtquick-window, qml6-module-qtquick-templates, qml6-module-qtqml-workerscript, qt6-qpa-plugins, libqt6svg6")
# qt6-wayland: the settings window and the guide as native windows on
# Wayland desktops (without it they need XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bluez, fonts-inter, qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
include(CPack)
