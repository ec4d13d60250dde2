# Builds the native Windows program, build/win32/cmdgen.exe (copied to
# build/bin/cmdgen.exe), as a separate CMake project cross-compiled with
# MinGW-w64, together with its Wine-run tests. Included by the main build;
# defines the target cmdgen_win32 and the variables CMDGEN_WIN32_DIR (its
# build directory) and CMDGEN_WIN32_EXE.
include_guard(GLOBAL)
include(ExternalProject)

set(CMDGEN_WIN32_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CMDGEN_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)
set(CMDGEN_WIN32_EXE ${CMDGEN_WIN32_DIR}/cmdgen.exe)

find_program(CMDGEN_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
find_program(CMDGEN_MINGW_WINDRES NAMES x86_64-w64-mingw32-windres)
if(NOT CMDGEN_MINGW_CXX OR NOT CMDGEN_MINGW_WINDRES)
  message(FATAL_ERROR
    "The MinGW-w64 cross compiler for the Windows program is missing: scripts/install-deps "
    "installs it (scripts/deps/win32.txt), or configure with -DCMDGEN_BUILD_WIN32=OFF.")
endif()

# The icon group resource is compiled from the committed .ico, which holds the
# eight sizes rendered from the SVG sources (share/icons/render.sh).
set(CMDGEN_WIN32_ICON ${PROJECT_SOURCE_DIR}/share/icons/cmdgen.ico)
if(NOT EXISTS ${CMDGEN_WIN32_ICON})
  message(FATAL_ERROR "The program icon ${CMDGEN_WIN32_ICON} is missing: "
                      "share/icons/render.sh makes it from the SVG sources.")
endif()

ExternalProject_Add(cmdgen_win32
  SOURCE_DIR ${CMDGEN_WIN32_SOURCE_DIR}
  BINARY_DIR ${CMDGEN_WIN32_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMDGEN_WIN32_SOURCE_DIR}/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DCMDGEN_WIN32_ICON=${CMDGEN_WIN32_ICON}
    -DCMDGEN_WIN32_TESTS=${CMDGEN_BUILD_TESTS}
  # The sources live in this tree: let the inner build decide what changed.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMDGEN_WIN32_EXE}
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMDGEN_WIN32_EXE}
                  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/cmdgen.exe
  USES_TERMINAL_BUILD ON)
