# Cross-compiling for 32-bit Windows, the shipped build, with the win32-thread mingw-w64 GCC.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
