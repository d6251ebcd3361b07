# SPDX-License-Identifier: MIT
# Cross-building for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix): the
# compilers of the posix thread model, whose C++ library has std::thread and std::mutex (the
# win32 model's has neither). Libraries and headers are looked for under the target's own root
# and the folders given in CMAKE_FIND_ROOT_PATH, never the machine's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELTO_MINGW_TARGET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZELTO_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELTO_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELTO_MINGW_TARGET}-windres)
set(CMAKE_AR ${ZELTO_MINGW_TARGET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZELTO_MINGW_TARGET}-ranlib CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZELTO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine when CMake or a test runs one.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
