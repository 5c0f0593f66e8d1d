# Cross-compiling for 64-bit Windows with the win32-thread mingw-w64 GCC: the test build where
# this machine cannot execute 32-bit code (docs/testing.md).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
