# Installation: the program and its tunes (MIDI files and their recordings)
# in PREFIX/lib/velloria (the tunes lie beside the program), a launcher on the PATH, a desktop entry with its
# AppStream metainfo, icons for every launcher size and a manual page.
# `cmake --build BUILD --target uninstall` removes exactly what was installed
# and the folders the install created; folders that were there before stay.
include(GNUInstallDirs)
set(VELLORIA_LIBDIR ${CMAKE_INSTALL_LIBDIR}/velloria)
set(VELLORIA_ICON_SIZES 16 22 24 32 48 64 128 256)

# Every folder the rules below install into, noted before anything is copied.
set(VELLORIA_INSTALL_DIRS ${VELLORIA_LIBDIR} ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/metainfo ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size ${VELLORIA_ICON_SIZES})
  list(APPEND VELLORIA_INSTALL_DIRS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(CODE "set(VELLORIA_INSTALL_DIRS \"${VELLORIA_INSTALL_DIRS}\")
set(VELLORIA_CREATED_LIST \"${CMAKE_BINARY_DIR}/install_created_dirs.txt\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/RecordInstallDirs.cmake)

install(TARGETS velloria RUNTIME DESTINATION ${VELLORIA_LIBDIR})
list(TRANSFORM VELLORIA_TUNES PREPEND ${CMAKE_SOURCE_DIR}/music/ OUTPUT_VARIABLE VELLORIA_TUNE_FILES)
install(FILES ${VELLORIA_TUNE_FILES} DESTINATION ${VELLORIA_LIBDIR})

file(RELATIVE_PATH VELLORIA_LIBDIR_FROM_BIN /bin /${VELLORIA_LIBDIR})
configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.sh.in ${CMAKE_BINARY_DIR}/dist/velloria @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/velloria DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/dist/velloria.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/com.korvagames.velloria.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${VELLORIA_ICON_SIZES})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/velloria-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME velloria.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/velloria.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.6 ${CMAKE_BINARY_DIR}/dist/velloria.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/velloria.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/Uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/Uninstall.cmake)
