# Runs while installing: writes the desktop entry with the launcher's path under the prefix in use.
set(DRAVENNA_LAUNCHER "${CMAKE_INSTALL_PREFIX}/bin/dravenna-deckbuilder")
if(DRAVENNA_LAUNCHER MATCHES " ")
  # The desktop entry's Exec key quotes an argument that holds a blank.
  set(DRAVENNA_LAUNCHER "\"${DRAVENNA_LAUNCHER}\"")
endif()
configure_file("${DRAVENNA_DESKTOP_IN}" "${DRAVENNA_DESKTOP_OUT}" @ONLY)
