# The rules digest: 64 bits of SHA-256 over every resource and every source
# that decides play (not the shell, the platform or the input drivers), so
# that a recorded file names the game that made it and a change in the game's
# numbers shows. Run as a script at build time:
#   cmake -DROOT=<source folder> -DLIST=<file of relative paths> -DOUT=<header> -P RulesDigest.cmake
# The list is written at configure time by velloria_rules_digest below.

function(velloria_rules_digest target)
  set(root ${CMAKE_SOURCE_DIR})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS
    ${root}/resources/*
    ${root}/app/*.cpp ${root}/app/*.h ${root}/base/*.cpp ${root}/base/*.h
    ${root}/gfx/*.cpp ${root}/gfx/*.h ${root}/audio/*.cpp ${root}/audio/*.h
    ${root}/input/*.cpp ${root}/input/*.h ${root}/script/*.cpp ${root}/script/*.h
    ${root}/game/*.cpp ${root}/game/*.h ${root}/scenes/*.cpp ${root}/scenes/*.h)
  list(SORT files)
  set(relative "")
  foreach(path ${files})
    file(RELATIVE_PATH rel ${root} ${path})
    string(APPEND relative "${rel}\n")
  endforeach()
  set(list_file ${CMAKE_BINARY_DIR}/generated/rules_files.txt)
  file(CONFIGURE OUTPUT ${list_file} CONTENT "${relative}" @ONLY)
  set(header ${CMAKE_BINARY_DIR}/generated/rules_digest.h)
  add_custom_command(OUTPUT ${header}
    COMMAND ${CMAKE_COMMAND} -DROOT=${root} -DLIST=${list_file} -DOUT=${header}
            -P ${root}/cmake/RulesDigest.cmake
    DEPENDS ${files} ${list_file} ${root}/cmake/RulesDigest.cmake
    COMMENT "Taking the rules digest" VERBATIM)
  target_sources(${target} PRIVATE ${header})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  file(STRINGS ${LIST} files)
  set(all "")
  foreach(rel ${files})
    file(SHA256 ${ROOT}/${rel} sum)
    string(APPEND all "${rel} ${sum}\n")
  endforeach()
  string(SHA256 digest "${all}")
  string(SUBSTRING ${digest} 0 16 digest)
  set(text "#pragma once\n// Made by cmake/RulesDigest.cmake from the game's sources and resources.\n#define VELLORIA_RULES \"${digest}\"\n")
  if(EXISTS ${OUT})
    file(READ ${OUT} old)
  else()
    set(old "")
  endif()
  if(NOT old STREQUAL text)
    file(WRITE ${OUT} "${text}")
  else()
    file(TOUCH_NOCREATE ${OUT})
  endif()
endif()
