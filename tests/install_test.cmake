# Installs into a fresh prefix, checks the layout, uninstalls and checks that
# the prefix is empty again.
set(prefix "${BUILD}/install-test-prefix")
file(REMOVE_RECURSE "${prefix}")
file(MAKE_DIRECTORY "${prefix}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
foreach(f bin/velloria lib/velloria/velloria lib/velloria/Music01.mid lib/velloria/Music02.mid
          lib/velloria/Music03.mid lib/velloria/Music01.ogg lib/velloria/Music02.ogg lib/velloria/Music03.ogg
          share/applications/velloria.desktop
          share/icons/hicolor/32x32/apps/velloria.png share/icons/hicolor/64x64/apps/velloria.png
          share/man/man6/velloria.6)
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND "${prefix}/bin/velloria" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^velloria ")
  message(FATAL_ERROR "the installed launcher does not start the game: ${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD}" --target uninstall RESULT_VARIABLE rc OUTPUT_QUIET)
file(GLOB_RECURSE left "${prefix}/*")
file(GLOB dirs "${prefix}/*")
if(NOT rc EQUAL 0 OR left OR dirs)
  message(FATAL_ERROR "uninstall left: ${left} ${dirs}")
endif()
file(REMOVE_RECURSE "${prefix}")
