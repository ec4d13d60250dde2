# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMDGEN_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model first: its libstdc++ has std::thread and std::mutex,
# which the Win32 thread model of GCC 12 lacks.
find_program(CMAKE_CXX_COMPILER NAMES ${CMDGEN_MINGW_PREFIX}-g++-posix ${CMDGEN_MINGW_PREFIX}-g++
             REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${CMDGEN_MINGW_PREFIX}-gcc-posix ${CMDGEN_MINGW_PREFIX}-gcc
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${CMDGEN_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${CMDGEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
