# Installs mirelon as a desktop program (the executable, its desktop entry,
# its icons and its AppStream metadata, each in its standard place) and
# packages it for Debian with `cpack -G DEB`.
include(GNUInstallDirs)
set(MIRELON_WINDOW_BUILD ${CMAKE_BINARY_DIR}/shell/window)
set(MIRELON_WINDOW_SOURCE ${CMAKE_SOURCE_DIR}/shell/window)

install(TARGETS mirelon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MIRELON_WINDOW_SOURCE}/fr.mirelon.Mirelon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MIRELON_WINDOW_BUILD}/fr.mirelon.Mirelon.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MIRELON_WINDOW_SOURCE}/fr.mirelon.Mirelon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${MIRELON_WINDOW_BUILD}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_PACKAGE_NAME mirelon)
set(CPACK_PACKAGE_VENDOR Mirelon)
set(CPACK_PACKAGE_CONTACT "Mirelon <contact@mirelon.fr>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "atelier pour apprendre à programmer avec un langage en français")
set(CPACK_PACKAGE_DESCRIPTION
    "Les élèves écrivent dans le navigateur des programmes dont les mots-clés sont français ; Mirelon les exécute sur leur ordinateur.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY mirelon)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The shared libraries the program links to become dependencies through
# dpkg-shlibdeps; libcurl is loaded only at the first outgoing request, so
# no linker record shows it and it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
# The window's two fonts; without them the desktop's own fonts stand in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core")
include(CPack)
