# Installs into a fresh prefix, checks the layout, uninstalls and checks that
# the prefix is empty again; then the same into a prefix that already holds
# empty bin/ and share/man/ folders, which the uninstall must leave in place.
# Both installs run under umask 077, as a careful root's may: every user must
# still be able to start the game.
set(prefix "${BUILD}/install-test-prefix")

# The prefix goes, pass or fail.
function(fail why)
  file(REMOVE_RECURSE "${prefix}")
  message(FATAL_ERROR "${why}")
endfunction()

function(install_and_check)
  execute_process(COMMAND sh -c "umask 077 && exec \"$0\" --install \"$1\" --prefix \"$2\""
                          ${CMAKE_COMMAND} "${BUILD}" "${prefix}" RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    fail("install failed")
  endif()
  execute_process(COMMAND find "${prefix}" -mindepth 1 "(" -type d ! -perm 0755 ")" -o "(" -type f ! -perm 0644 ! -perm 0755 ")"
                  OUTPUT_VARIABLE private)
  if(private)
    fail("not open to every user after an install under umask 077:\n${private}")
  endif()
  set(files bin/velloria lib/velloria/velloria lib/velloria/Music01.mid lib/velloria/Music02.mid
            lib/velloria/Music03.mid lib/velloria/Music01.ogg lib/velloria/Music02.ogg lib/velloria/Music03.ogg
            share/applications/velloria.desktop
            share/metainfo/com.korvagames.velloria.metainfo.xml share/icons/hicolor/scalable/apps/velloria.svg
            share/man/man6/velloria.6 share/doc/velloria/LICENSE share/doc/velloria/LICENSE-assets)
  foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND files share/icons/hicolor/${size}x${size}/apps/velloria.png)
  endforeach()
  foreach(f ${files})
    if(NOT EXISTS "${prefix}/${f}")
      fail("not installed: ${f}")
    endif()
  endforeach()
  execute_process(COMMAND "${prefix}/bin/velloria" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  # One line that names the licences.
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^velloria [0-9.]+ \\(code MIT, art and sound CC BY 4\\.0\\)\n$")
    fail("the installed launcher does not start the game: ${out}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD}" --target uninstall RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    fail("uninstall failed")
  endif()
endfunction()

function(expect_left)
  file(GLOB_RECURSE left LIST_DIRECTORIES true RELATIVE "${prefix}" "${prefix}/*")
  list(SORT left)
  if(NOT "${left}" STREQUAL "${ARGN}")
    fail("after the uninstall the prefix holds \"${left}\", expected \"${ARGN}\"")
  endif()
endfunction()

file(REMOVE_RECURSE "${prefix}")
file(MAKE_DIRECTORY "${prefix}")
install_and_check()
expect_left()

# Folders that were there before the install stay, empty as they were.
file(REMOVE_RECURSE "${prefix}")
file(MAKE_DIRECTORY "${prefix}/bin" "${prefix}/share/man")
install_and_check()
expect_left(bin share share/man)
file(REMOVE_RECURSE "${prefix}")
