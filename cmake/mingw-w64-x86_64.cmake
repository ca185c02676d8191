# Cross-build for 64-bit Windows with Debian's MinGW-w64 GCC, POSIX thread model (std::jthread).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPLUMET_BUILD_UI=OFF
# Programs are linked statically, so they run without MinGW's DLLs beside them. Built tests
# run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PLUMET_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PLUMET_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLUMET_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PLUMET_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLUMET_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 package puts its loader outside PATH.
find_program(PLUMET_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PLUMET_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PLUMET_WINE})
endif()
