# Installation: the program and its tunes (MIDI files and their recordings)
# in PREFIX/lib/velloria (the tunes lie beside the program), a launcher on the PATH, a desktop entry, icons
# and a manual page. `cmake --build BUILD --target uninstall` removes exactly
# what was installed, and the folders that leaves empty.
include(GNUInstallDirs)
set(VELLORIA_LIBDIR ${CMAKE_INSTALL_LIBDIR}/velloria)

install(TARGETS velloria RUNTIME DESTINATION ${VELLORIA_LIBDIR})
list(TRANSFORM VELLORIA_TUNES PREPEND ${CMAKE_SOURCE_DIR}/music/ OUTPUT_VARIABLE VELLORIA_TUNE_FILES)
install(FILES ${VELLORIA_TUNE_FILES} DESTINATION ${VELLORIA_LIBDIR})

file(RELATIVE_PATH VELLORIA_LIBDIR_FROM_BIN /bin /${VELLORIA_LIBDIR})
configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.sh.in ${CMAKE_BINARY_DIR}/dist/velloria @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/velloria DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/dist/velloria.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 32 64)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/velloria-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME velloria.png)
endforeach()
set(VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.6 ${CMAKE_BINARY_DIR}/dist/velloria.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/velloria.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/Uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/Uninstall.cmake)
# The prefix actually used (cmake --install --prefix may change it), so that
# the uninstall stops at it.
install(CODE "file(WRITE \"${CMAKE_BINARY_DIR}/install_prefix.txt\" \"\${CMAKE_INSTALL_PREFIX}\")")
