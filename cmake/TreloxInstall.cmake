# What `cmake --install` puts where, and so what the packages hold.
#
# Linux: the program and the simulator, their manual pages, the README and
# the sample flash file, the package's copyright and changelog, the commented
# example device table and the udev rule template.
# Windows: Trelox.exe and the German/English readme, side by side. The readme
# comes in two kinds: one for a copy unpacked anywhere (the zip, and what
# `cmake --install` gives) and one for the copy the setup program installs
# (taken by the setup's own script, dist/windows/nsis).
set(TRELOX_GENERATED ${PROJECT_BINARY_DIR}/generated)

if(WIN32)
  foreach(kind zip setup)
    foreach(language de en)
      set(part ${PROJECT_SOURCE_DIR}/dist/windows/readme/${kind}.${language}.txt)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${part})
      file(READ ${part} TRELOX_README_${language})
      string(STRIP "${TRELOX_README_${language}}" TRELOX_README_${language})
      string(CONFIGURE "${TRELOX_README_${language}}" TRELOX_README_${language} @ONLY)
      # The file's own line ends become CR LF below; those of a value do not.
      string(REPLACE "\n" "\r\n" TRELOX_README_${language} "${TRELOX_README_${language}}")
    endforeach()
    configure_file(${PROJECT_SOURCE_DIR}/dist/windows/README.txt.in ${TRELOX_GENERATED}/${kind}/README.txt @ONLY
                   NEWLINE_STYLE WIN32)
  endforeach()
  install(TARGETS trelox RUNTIME DESTINATION .)
  install(FILES ${TRELOX_GENERATED}/zip/README.txt DESTINATION .)
  return()
endif()

include(GNUInstallDirs)

# trelox_gzip(OUTPUT INPUT): INPUT compressed as Debian wants it (best,
# without the name and time stamp), so the package is the same every build.
function(trelox_gzip output input)
  add_custom_command(OUTPUT ${output} COMMAND gzip -9nc ${input} > ${output} DEPENDS ${input} VERBATIM)
endfunction()

set(TRELOX_MAN_PAGES)
foreach(page trelox trelox-devsim)
  configure_file(${PROJECT_SOURCE_DIR}/dist/man/${page}.1.in ${TRELOX_GENERATED}/man/${page}.1 @ONLY)
  trelox_gzip(${TRELOX_GENERATED}/man/${page}.1.gz ${TRELOX_GENERATED}/man/${page}.1)
  list(APPEND TRELOX_MAN_PAGES ${TRELOX_GENERATED}/man/${page}.1.gz)
endforeach()
trelox_gzip(${TRELOX_GENERATED}/changelog.gz ${PROJECT_SOURCE_DIR}/dist/debian/changelog)
add_custom_target(trelox_install_files ALL DEPENDS ${TRELOX_MAN_PAGES} ${TRELOX_GENERATED}/changelog.gz)

install(TARGETS trelox trelox-devsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TRELOX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md tools/devsim/sample/firmware.s19 dist/debian/copyright ${TRELOX_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelox)
# The README's pictures, where its links find them beside it: the program's
# windows, and the Windows setup's pages that its release section shows.
install(FILES docs/main-dialog.png docs/progress-window.png docs/status-window.png docs/setup-welcome.png
              docs/setup-folder.png docs/setup-start-menu.png docs/setup-finish.png docs/setup-welcome-again.png
              docs/uninstall-confirm.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelox/docs)
# The table where the program reads it whatever the prefix; a package keeps
# it as a configuration file.
install(FILES dist/linux/devices DESTINATION /etc/trelox)
# The template grants nothing; a rule file of the same name in
# /etc/udev/rules.d takes its place.
install(FILES dist/linux/70-trelox.rules DESTINATION lib/udev/rules.d)
