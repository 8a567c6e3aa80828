# Installing and packaging: the programs in bin/, and on Linux the desktop entry, icons,
# AppStream metainfo and manual pages; CPack makes a .deb (dependencies from
# dpkg-shlibdeps) and a .tar.gz of the same tree.
include(GNUInstallDirs)

set(DRAPELINE_APP_ID org.drapeline.Drapeline)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS drapeline-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET drapeline)
  install(TARGETS drapeline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(UNIX AND NOT APPLE)
  if(TARGET drapeline)
    install(FILES ${packaging}/${DRAPELINE_APP_ID}.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${packaging}/${DRAPELINE_APP_ID}.metainfo.xml
      DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${packaging}/drapeline.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
      RENAME ${DRAPELINE_APP_ID}.svg)
    foreach(size 16 22 24 32 48 64 128 256)
      install(FILES ${packaging}/icons/drapeline-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${DRAPELINE_APP_ID}.png)
    endforeach()
  endif()

  # Manual pages and the changelog go in compressed, as Debian wants them. The tool's page
  # is made from its --help by help2man when that is installed.
  find_program(GZIP gzip REQUIRED)
  find_program(HELP2MAN help2man)
  set(docs ${CMAKE_BINARY_DIR}/packaging)
  set(pages ${docs}/drapeline.1.gz)
  add_custom_command(OUTPUT ${docs}/drapeline.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    COMMAND ${GZIP} -9n -c ${packaging}/drapeline.1 > ${docs}/drapeline.1.gz
    DEPENDS ${packaging}/drapeline.1 VERBATIM)
  add_custom_command(OUTPUT ${docs}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    COMMAND ${GZIP} -9n -c ${packaging}/changelog > ${docs}/changelog.gz
    DEPENDS ${packaging}/changelog VERBATIM)
  if(HELP2MAN)
    add_custom_command(OUTPUT ${docs}/drapeline-cli.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
      COMMAND ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
        --name=the\ wardrobe\ work\ of\ Drapeline\ without\ windows
        --output=${docs}/drapeline-cli.1 $<TARGET_FILE:drapeline-cli>
      COMMAND ${GZIP} -9nf ${docs}/drapeline-cli.1
      DEPENDS drapeline-cli VERBATIM)
    list(APPEND pages ${docs}/drapeline-cli.1.gz)
  else()
    message(STATUS "help2man not found: drapeline-cli gets no manual page")
  endif()
  add_custom_target(drapeline_docs ALL DEPENDS ${pages} ${docs}/changelog.gz)
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(NOT TARGET drapeline)
    install(CODE "file(REMOVE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/drapeline.1.gz\")")
  endif()
  # Debian looks for them under the package's own (lower-case) name.
  install(FILES ${docs}/changelog.gz ${packaging}/copyright
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/drapeline)
endif()

set(CPACK_PACKAGE_NAME drapeline)
set(CPACK_PACKAGE_VENDOR "The Drapeline developers")
set(CPACK_PACKAGE_CONTACT "The Drapeline developers <drapeline@drapeline.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wardrobe editor for The Sims")
set(CPACK_PACKAGE_DESCRIPTION "Drapeline changes the outfits and hand textures of the sims in
The Sims 1, saves outfit sets as ensemble files and repairs whole
neighbourhoods, without ever damaging a character file. drapeline-cli
does the same work without windows.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://drapeline.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# "games" is for the games themselves (Debian wants them in /usr/games).
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
