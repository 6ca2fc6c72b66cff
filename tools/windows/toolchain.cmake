# 64-bit Windows with Debian's mingw-w64 (POSIX threads, for std::thread and
# std::mutex), programs run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# A prefix of built libraries is added with -DCMAKE_FIND_ROOT_PATH=PREFIX.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
find_program(VELLORIA_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(VELLORIA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELLORIA_WINE})
endif()
# No link time in the DLLs built with it, so that they are the same bytes
# from the same sources.
set(CMAKE_SHARED_LINKER_FLAGS_INIT -Wl,--no-insert-timestamp)
