# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles the parts without Qt (engine, messages, framework, korvane-cli and
# their tests) for 64-bit Windows with Debian's MinGW-w64, statically linked so that
# the programs need no DLL beside them. Used as -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake.
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
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Wine maps file names beyond ASCII to the Linux file system through the locale's
# character set: without a UTF-8 locale (a plain container sets none) it maps none of
# them, and cmd.exe cannot even start a program in such a folder. So Wine always gets a
# UTF-8 locale of its own, whatever the caller's environment holds.
set(CMAKE_CROSSCOMPILING_EMULATOR env LC_ALL=C.UTF-8 wine)
