# Where an installed Lumicrate puts its parts: the programs in bin, the album template and the
# image strip in share/lumicrate, and what the desktop needs to list and offer the program.

install(TARGETS lumicrate-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY Template/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lumicrate/Template)

# Debian keeps manual pages compressed; -n leaves the time out, so the package is reproducible.
find_program(GZIP gzip REQUIRED)
function(lumicrate_install_man page)
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/docs/man/${page} > ${compressed}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/${page} VERBATIM)
  add_custom_target(man-${page} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

lumicrate_install_man(lumicrate-cli.1)
install(FILES resources/lumicrate-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lumicrate-cli)

# The desktop program and what the desktop needs to list it and offer it for camera cards.
install(TARGETS lumicrate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
lumicrate_install_man(lumicrate.1)
install(FILES resources/menu_image.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/lumicrate)
install(FILES resources/example.lumicrate.Lumicrate.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/example.lumicrate.Lumicrate.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# PNG icons are rendered from the one drawing at build time, so they never drift from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_files)
foreach(size 16 24 32 48 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/lumicrate.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/resources/lumicrate.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/lumicrate.svg VERBATIM)
  list(APPEND icon_files ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_files})
install(FILES resources/lumicrate.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
