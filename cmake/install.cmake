# Installed like any Linux program: the self-contained program folder under lib/dravenna-deckbuilder
# of the prefix, a bin/ link to start it, and what a desktop needs to offer it and its deck files.
# The program folder itself stays read-only; the program keeps its data per user (see README).
set(DRAVENNA_APP_ID de.dravenna.deckbuilder)
set(DRAVENNA_INSTALL_DIR lib/dravenna-deckbuilder)
set(DRAVENNA_HOMEPAGE "https://dravenna.example.org/deckbuilder/" CACHE STRING "Homepage named in the AppStream metainfo")
set(DRAVENNA_SCREENSHOT_URL "https://dravenna.example.org/deckbuilder/screenshot.png"
    CACHE STRING "Where the AppStream metainfo finds docs/screenshot.png")

install(TARGETS dravenna-deckbuilder dravenna-deck RUNTIME DESTINATION ${DRAVENNA_INSTALL_DIR})
install(TARGETS DravennaRes DravennaStatistik LIBRARY DESTINATION ${DRAVENNA_INSTALL_DIR})
file(GLOB DRAVENNA_SAMPLE_FILTERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/filters/*.drfilter)
install(FILES ${DRAVENNA_SHIPPED_CATALOGUE} ${DRAVENNA_SAMPLE_FILTERS} DESTINATION ${DRAVENNA_INSTALL_DIR})
# Marks the folder as installed: even a user who could write it (root) keeps the data per user.
install(FILES ${CMAKE_SOURCE_DIR}/app/share/installed DESTINATION ${DRAVENNA_INSTALL_DIR})

# bin/dravenna-deckbuilder and bin/dravenna-deck: relative links, so the tree works under any prefix
# and DESTDIR. Both find their program folder through the link's target.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-link)
foreach(program dravenna-deckbuilder dravenna-deck)
  file(CREATE_LINK ../${DRAVENNA_INSTALL_DIR}/${program} ${CMAKE_BINARY_DIR}/install-link/${program} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install-link/${program} DESTINATION bin)
endforeach()

# The desktop entry starts the program by its full installed path, which is known only when installing.
set(DRAVENNA_DESKTOP_FILE ${CMAKE_BINARY_DIR}/share/${DRAVENNA_APP_ID}.desktop)
install(CODE "set(DRAVENNA_DESKTOP_IN \"${CMAKE_SOURCE_DIR}/app/share/${DRAVENNA_APP_ID}.desktop.in\")
set(DRAVENNA_DESKTOP_OUT \"${DRAVENNA_DESKTOP_FILE}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/install_desktop.cmake)
install(FILES ${DRAVENNA_DESKTOP_FILE} DESTINATION share/applications)

# The AppStream releases come from the changelog, whose newest entry is this version.
include(${CMAKE_SOURCE_DIR}/cmake/changelog_releases.cmake)
configure_file(${CMAKE_SOURCE_DIR}/app/share/${DRAVENNA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/share/${DRAVENNA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/share/${DRAVENNA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/app/share/dravenna-deckbuilder-mime.xml DESTINATION share/mime/packages
        RENAME ${DRAVENNA_APP_ID}.xml)

install(FILES ${CMAKE_SOURCE_DIR}/app/icons/dravenna-deckbuilder.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${DRAVENNA_APP_ID}.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/app/icons/dravenna-deckbuilder-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${DRAVENNA_APP_ID}.png)
endforeach()
# Man pages, changelog and README compressed as Debian's policy asks (gzip -9n: no name, no time).
find_program(DRAVENNA_GZIP gzip REQUIRED)
set(DRAVENNA_COMPRESSED)
function(dravenna_compress source output)
  add_custom_command(OUTPUT ${output} DEPENDS ${source} VERBATIM
                     COMMAND sh -c "${DRAVENNA_GZIP} -9nc \"$1\" > \"$2\"" gzip ${source} ${output})
  set(DRAVENNA_COMPRESSED ${DRAVENNA_COMPRESSED} ${output} PARENT_SCOPE)
endfunction()
foreach(page dravenna-deckbuilder.1 dravenna-deck.1)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${page} ${CMAKE_BINARY_DIR}/share/man/${page} @ONLY)
  dravenna_compress(${CMAKE_BINARY_DIR}/share/man/${page} ${CMAKE_BINARY_DIR}/share/man/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/share/man/${page}.gz DESTINATION share/man/man1)
endforeach()
dravenna_compress(${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/share/doc/changelog.gz)
dravenna_compress(${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/share/doc/README.md.gz)
add_custom_target(compressed_docs ALL DEPENDS ${DRAVENNA_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/share/doc/changelog.gz ${CMAKE_BINARY_DIR}/share/doc/README.md.gz
              ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION share/doc/dravenna-deckbuilder)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
        RENAME dravenna-deckbuilder)
# Where bash-completion looks for a command's completion: share/bash-completion/completions of
# $XDG_DATA_HOME (~/.local/share) and of every $XDG_DATA_DIRS entry.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/dravenna-deck.bash-completion
        DESTINATION share/bash-completion/completions RENAME dravenna-deck)

# Installed into a prefix of the installing user's own (~/.local), the desktop knows .drd files at
# once; a staging install for a package (DESTDIR) leaves that to the system's triggers.
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/install_register.cmake)

# cpack -G DEB. Library dependencies come from dpkg-shlibdeps; Qt's platform plugins are loaded at
# run time, so no linker sees them: the X11 one comes with libqt6gui6, which the shlibs name.
set(CPACK_PACKAGE_NAME dravenna-deckbuilder)
set(CPACK_PACKAGE_VENDOR "Dravenna Deck-Builder")
set(CPACK_PACKAGE_CONTACT "Dravenna Deck-Builder <deckbuilder@dravenna.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Deck-Editor für das Sammelkartenspiel Dravenna")
set(CPACK_PACKAGE_DESCRIPTION "Anführer und Inquisitor wählen, den Kartenkatalog sortieren und filtern,\n Decks bauen und gegen die Grenzen des Anführers prüfen, als Deck-Datei\n speichern und mit CardTable austauschen. Dazu das Kommandozeilenwerkzeug\n dravenna-deck für dieselben Prüfungen und Dateiformate ohne Fenster.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${DRAVENNA_HOMEPAGE}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
