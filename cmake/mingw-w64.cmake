# Cross-builds for 64-bit Windows with Debian's mingw-w64, in its POSIX
# threads variant (std::thread needs it). scripts/build-windows uses it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C++ runtime and winpthread go into each program, which then needs no
# DLL but the media libraries it loads itself and the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
# Programs built here run under Wine on the build machine.
find_program(TANDREL_WINE NAMES wine wine64)
if(TANDREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TANDREL_WINE})
endif()
