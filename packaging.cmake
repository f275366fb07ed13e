# The installed game: the program, its data beside it under share/zentrova
# (the program finds them from where it is), the desktop entry, AppStream
# metadata, the icons, the manual page, the changelog and the copyright file.
# `cpack -G DEB` packs the same tree into a .deb for /usr, with the program
# in games/ instead of bin/.

# Debian keeps games in /usr/games; elsewhere only bin/ is sure to be on the
# PATH. The package takes the second copy of the program alone, and both
# folders are one level below the prefix, so the program finds its data as
# ../share/zentrova from either.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)
install(TARGETS zentrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(TARGETS zentrova RUNTIME DESTINATION games COMPONENT debian-program EXCLUDE_FROM_ALL)
# Stripped as Debian strips programs: the compiler's version notes go too.
install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/zentrova\")"
        COMPONENT debian-program EXCLUDE_FROM_ALL)

install(FILES config.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/zentrova)
# assets/icons holds only the sources of the room files' Base64 icons.
install(DIRECTORY assets/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zentrova/assets PATTERN icons EXCLUDE)
install(FILES desktop/org.zentrova.Zentrova.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/org.zentrova.Zentrova.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES desktop/zentrova-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zentrova.png)
endforeach()

# The manual page and the changelog go out compressed as Debian wants them:
# at maximum compression, without a name or time stamp, so that the same
# source always gives the same bytes.
find_program(GZIP_PROGRAM gzip)
if(NOT GZIP_PROGRAM)
  message(FATAL_ERROR "gzip is needed to compress the manual page and the changelog")
endif()
set(compressed_dir ${CMAKE_CURRENT_BINARY_DIR}/compressed)
set(compressed_files)
foreach(source zentrova.6 packaging/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${compressed_dir}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${compressed_dir}/${name}
    COMMAND ${GZIP_PROGRAM} -9nf ${compressed_dir}/${name}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND compressed_files ${compressed_dir}/${name}.gz)
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${compressed_files})
install(FILES ${compressed_dir}/zentrova.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${compressed_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/copyright README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VENDOR "The Zentrova developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "isometric tower-building game")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# One package of everything but the program in bin/.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL game debian-program)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zentrova developers <maintainers@zentrova.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read off the program's libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary above this and indents each line by one space.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Build a tower on a block of 20 by 20 cells and 10 storeys: pour floors,
open a lobby, fill the storeys with hotel rooms, suites and offices,
connect them with elevators, and collect the rent at midnight.")
include(CPack)
