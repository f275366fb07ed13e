# The installed game: the program, its data beside it under share/zentrova
# (the program finds them from where it is), the desktop entry, AppStream
# metadata, the icons and the manual page. `cpack -G DEB` packs the same
# tree into a .deb for /usr.
install(TARGETS zentrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES config.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/zentrova)
# assets/icons holds only the sources of the room files' Base64 icons.
install(DIRECTORY assets/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zentrova/assets PATTERN icons EXCLUDE)
install(FILES desktop/org.zentrova.Zentrova.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/org.zentrova.Zentrova.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES desktop/zentrova-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zentrova.png)
endforeach()
install(FILES zentrova.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VENDOR "The Zentrova developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "isometric tower-building game")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zentrova developers <maintainers@zentrova.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read off the program's libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "isometric tower-building game
 Build a tower on a block of 20 by 20 cells and 10 storeys: pour floors,
 open a lobby, fill the storeys with hotel rooms, suites and offices,
 connect them with elevators, and collect the rent at midnight.")
include(CPack)
