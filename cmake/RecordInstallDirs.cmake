# Run at install time, before any file is copied: notes which of the
# install's folders do not exist yet, so that the uninstall removes only the
# folders the install itself created. VELLORIA_INSTALL_DIRS (relative to the
# prefix, or absolute) and VELLORIA_CREATED_LIST are set by Install.cmake.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(created "")
# Folders noted by an earlier install into the same prefix stay noted.
if(EXISTS "${VELLORIA_CREATED_LIST}")
  file(STRINGS "${VELLORIA_CREATED_LIST}" earlier)
  list(POP_FRONT earlier earlierRoot)
  if(earlierRoot STREQUAL root)
    set(created ${earlier})
  endif()
endif()
foreach(dir ${VELLORIA_INSTALL_DIRS})
  if(IS_ABSOLUTE "${dir}")
    set(path "$ENV{DESTDIR}${dir}")
  else()
    set(path "${root}/${dir}")
  endif()
  # From the folder up to the first one that exists (the prefix too, when
  # the install makes it).
  while(NOT IS_DIRECTORY "${path}")
    list(APPEND created "${path}")
    get_filename_component(parent "${path}" DIRECTORY)
    if(parent STREQUAL path OR parent STREQUAL "")
      break()
    endif()
    set(path "${parent}")
  endwhile()
endforeach()
list(REMOVE_DUPLICATES created)
list(JOIN created "\n" lines)
file(WRITE "${VELLORIA_CREATED_LIST}" "${root}\n${lines}\n")

# The folders are made here, 0755 whatever the umask of whoever installs:
# under umask 077 they would shut every other user out of the game. Files
# get their modes from the install rules.
list(REVERSE created)
foreach(dir ${created})
  file(MAKE_DIRECTORY "${dir}")
  file(CHMOD "${dir}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                  WORLD_EXECUTE)
endforeach()
