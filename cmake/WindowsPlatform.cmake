# The platform of the Windows build: MinGW-w64's own windows.h and GL/gl.h, and the shared
# FSOUND mixer playing through waveOut. Platform/win32/ (the Linux implementation of the
# Win32 subset) is not compiled here. Resources (.rc) are compiled by MinGW's windres.
enable_language(RC)
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS Platform/fmod/*.cpp)
list(FILTER PLATFORM_SOURCES EXCLUDE REGEX "Platform/fmod/SdlOutput\\.cpp$")
# The debugger output is the system's own here.
add_library(platform_core INTERFACE)
add_library(platform STATIC ${PLATFORM_SOURCES})
pinwhirl_include_root(platform Platform/fmod/fmod.h)
target_include_directories(platform PUBLIC ${CMAKE_BINARY_DIR}/include/platform PRIVATE Platform/fmod)
target_link_libraries(platform PUBLIC opengl32 gdi32 user32 winmm)

# WinMain is the entry itself. A GUI program (no console window), linked statically so the
# .exe needs none of MinGW's DLLs beside it.
# The C runtime's start-up calls WinMain from after the libraries, so the linker is told
# beforehand to take it from Engine/ (stdcall-decorated on 32-bit).
add_library(platform_entry INTERFACE)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PINWHIRL_WINMAIN_SYMBOL _WinMain@16)
else()
  set(PINWHIRL_WINMAIN_SYMBOL WinMain)
endif()
target_link_options(platform_entry INTERFACE -mwindows -static -Wl,-u,${PINWHIRL_WINMAIN_SYMBOL})
