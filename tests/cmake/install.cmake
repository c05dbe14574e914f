# Installing and packaging: the installed game from elsewhere, a moved prefix, GLIMMERFALL_DATA and the
# error without data; the .debs' fields and files, lintian, and the game unpacked from them. Labelled install, so
# the sanitizer pass (unit only) leaves them out.
add_test(NAME install_game COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/install_game.sh ${CMAKE_BINARY_DIR})
add_test(NAME install_package
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/install_package.sh ${CMAKE_BINARY_DIR} ${GLIM_DEB_VERSION}
    ${CMAKE_SOURCE_DIR}/README.md)
set_tests_properties(install_game install_package PROPERTIES LABELS install RUN_SERIAL TRUE TIMEOUT 240)

# The desktop entry, the metainfo and the manual pages through the checkers the desktop, AppStream and
# man-db provide, where they are installed; any complaint fails.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
find_program(MAN man)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME install_desktop_entry
    COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/packaging/glimmerfall.desktop)
  set_tests_properties(install_desktop_entry PROPERTIES LABELS install FAIL_REGULAR_EXPRESSION ".")
endif()
if(APPSTREAMCLI)
  # Pedantic: its notes end in success too, so any line naming an issue fails.
  add_test(NAME install_metainfo COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
    ${CMAKE_BINARY_DIR}/packaging/org.glimmerfall.glimmerfall.metainfo.xml)
  set_tests_properties(install_metainfo PROPERTIES LABELS install FAIL_REGULAR_EXPRESSION "(^|\n)[EWIP]: ")
endif()
if(MAN)
  foreach(page glimmerfall.6 fmpinfo.1 fmptiled.1)
    add_test(NAME install_manual_${page}
      COMMAND sh -c "\"$1\" --warnings -l \"$2\" 2>&1 >/dev/null" sh ${MAN} ${CMAKE_BINARY_DIR}/packaging/${page})
    set_tests_properties(install_manual_${page} PROPERTIES LABELS install ENVIRONMENT MANWIDTH=80
      FAIL_REGULAR_EXPRESSION ".")
  endforeach()
endif()
# The manual pages and changelog compressed with gzip -n: no file name or time stamp inside, so the
# package is the same byte for byte from one build to the next (the header's flags and time are then all zero).
add_test(NAME install_manual_pages_reproducible
  COMMAND sh -c "for page; do [ \"$(od -An -tx1 -N8 \"$page\")\" = ' 1f 8b 08 00 00 00 00 00' ] || { echo \"$page: name or time inside\"; exit 1; }; done"
    sh ${CMAKE_BINARY_DIR}/packaging/glimmerfall.6.gz ${CMAKE_BINARY_DIR}/packaging/fmpinfo.1.gz
    ${CMAKE_BINARY_DIR}/packaging/fmptiled.1.gz ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
set_tests_properties(install_manual_pages_reproducible PROPERTIES LABELS install)
