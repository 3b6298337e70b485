# Cross-build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PINWHIRL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# The physics must fly the same path as on x86_64: SSE arithmetic, not the x87 unit.
# Windows keeps the stack only 4-byte aligned for callbacks; realign it for SSE spills.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
