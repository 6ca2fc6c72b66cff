# Installation: the program and its tunes (MIDI files and their recordings)
# in PREFIX/lib/velloria (the tunes lie beside the program), a launcher on
# the PATH, a desktop entry with its AppStream metainfo, icons for every
# launcher size, a manual page and the licence texts.
# `cmake --build BUILD --target uninstall` removes exactly what was installed
# and the folders the install created; folders that were there before stay.
#
# A distribution lays the game out by its own rules with two folders relative
# to the prefix: VELLORIA_PROGRAM_DIR for the program and VELLORIA_TUNE_DIR
# for the tunes (Debian: games and share/games/velloria). The program finds
# its tunes by the path from one to the other, so the installed tree can be
# moved as a whole; with the program on the PATH no launcher is installed.
include(GNUInstallDirs)
set(VELLORIA_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/velloria CACHE STRING "Folder of the program, relative to the prefix")
set(VELLORIA_TUNE_DIR "" CACHE STRING "Folder of the tunes, relative to the prefix (default: the program's)")
set(VELLORIA_TUNE_INSTALL_DIR ${VELLORIA_TUNE_DIR})
if(NOT VELLORIA_TUNE_INSTALL_DIR)
  set(VELLORIA_TUNE_INSTALL_DIR ${VELLORIA_PROGRAM_DIR})
endif()
file(RELATIVE_PATH VELLORIA_TUNES_FROM_PROGRAM /${VELLORIA_PROGRAM_DIR} /${VELLORIA_TUNE_INSTALL_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/audio/music.cpp APPEND
             PROPERTY COMPILE_DEFINITIONS VELLORIA_TUNE_FOLDER="${VELLORIA_TUNES_FROM_PROGRAM}")
set(VELLORIA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(VELLORIA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velloria)

# Every folder the rules below install into, noted (and the missing ones made
# 0755) before anything is copied.
set(VELLORIA_INSTALL_DIRS ${VELLORIA_PROGRAM_DIR} ${VELLORIA_TUNE_INSTALL_DIR} ${CMAKE_INSTALL_BINDIR}
    ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/metainfo ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps ${CMAKE_INSTALL_MANDIR}/man6 ${VELLORIA_DOC_DIR})
foreach(size ${VELLORIA_ICON_SIZES})
  list(APPEND VELLORIA_INSTALL_DIRS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(CODE "set(VELLORIA_INSTALL_DIRS \"${VELLORIA_INSTALL_DIRS}\")
set(VELLORIA_CREATED_LIST \"${CMAKE_BINARY_DIR}/install_created_dirs.txt\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/RecordInstallDirs.cmake)

install(TARGETS velloria RUNTIME DESTINATION ${VELLORIA_PROGRAM_DIR})
list(TRANSFORM VELLORIA_TUNES PREPEND ${CMAKE_SOURCE_DIR}/music/ OUTPUT_VARIABLE VELLORIA_TUNE_FILES)
install(FILES ${VELLORIA_TUNE_FILES} DESTINATION ${VELLORIA_TUNE_INSTALL_DIR})

if(NOT VELLORIA_PROGRAM_DIR STREQUAL CMAKE_INSTALL_BINDIR)
  file(RELATIVE_PATH VELLORIA_PROGRAM_DIR_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${VELLORIA_PROGRAM_DIR})
  configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.sh.in ${CMAKE_BINARY_DIR}/dist/velloria @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/velloria DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
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
# The man page names the folders of this install.
set(VELLORIA_TUNE_FOLDER_SHOWN ${CMAKE_INSTALL_PREFIX}/${VELLORIA_TUNE_INSTALL_DIR})
set(VELLORIA_DOC_FOLDER_SHOWN ${CMAKE_INSTALL_PREFIX}/${VELLORIA_DOC_DIR})
configure_file(${CMAKE_SOURCE_DIR}/dist/velloria.6 ${CMAKE_BINARY_DIR}/dist/velloria.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/velloria.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/LICENSE-assets DESTINATION ${VELLORIA_DOC_DIR})

configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/Uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/Uninstall.cmake)
