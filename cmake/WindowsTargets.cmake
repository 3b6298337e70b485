# The scripted test build of the Windows program: scripted/pinwhirl.exe is pinwhirl.exe
# (its own sources, libraries and settings, whatever they grow into) with the script
# driver of Platform/windows/ added, which redirects the program's imports before WinMain.
# The pinwhirl.exe a user runs never has it.
file(GLOB SCRIPT_DRIVER_SOURCES CONFIGURE_DEPENDS Platform/script/*.cpp Platform/windows/*.cpp)
find_library(PINWHIRL_MINGW_ZLIB NAMES libz.a REQUIRED)  # Debian's libz-mingw-w64-dev
add_library(script_driver STATIC ${SCRIPT_DRIVER_SOURCES})
target_include_directories(script_driver PUBLIC Platform/script Platform/windows)
target_link_libraries(script_driver PUBLIC opengl32 gdi32 user32 ${PINWHIRL_MINGW_ZLIB})
pinwhirl_strict_warnings(script_driver)

get_target_property(PINWHIRL_SOURCES pinwhirl SOURCES)
add_executable(pinwhirl_scripted ${PINWHIRL_SOURCES})
foreach(property LINK_LIBRARIES INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS LINK_OPTIONS)
  get_target_property(value pinwhirl ${property})
  if(value)
    set_property(TARGET pinwhirl_scripted PROPERTY ${property} ${value})
  endif()
endforeach()
# The whole driver library is linked, so its start-up code runs though nothing calls it.
target_link_libraries(pinwhirl_scripted PRIVATE -Wl,--whole-archive script_driver -Wl,--no-whole-archive)
set_target_properties(pinwhirl_scripted PROPERTIES OUTPUT_NAME pinwhirl RUNTIME_OUTPUT_DIRECTORY
                                                                       ${CMAKE_BINARY_DIR}/scripted)

# The Windows platform's own tests (the driver, the waveOut output), run under wine by
# tools/windows-check.sh, on GoogleTest built from Debian's sources (package googletest).
set(PINWHIRL_GTEST_SOURCE /usr/src/googletest/googletest)
if(EXISTS ${PINWHIRL_GTEST_SOURCE}/src/gtest-all.cc)
  add_library(gtest_mingw STATIC ${PINWHIRL_GTEST_SOURCE}/src/gtest-all.cc ${PINWHIRL_GTEST_SOURCE}/src/gtest_main.cc)
  target_include_directories(gtest_mingw SYSTEM PUBLIC ${PINWHIRL_GTEST_SOURCE}/include)
  target_include_directories(gtest_mingw PRIVATE ${PINWHIRL_GTEST_SOURCE})
  target_compile_options(gtest_mingw PRIVATE -w)  # not our code
  file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS tests/windows/*.cpp tests/windows/*.rc)
  add_executable(windows_platform_test ${WINDOWS_TEST_SOURCES})
  target_include_directories(windows_platform_test PRIVATE tests Platform/fmod)
  target_link_libraries(windows_platform_test PRIVATE -Wl,--whole-archive script_driver -Wl,--no-whole-archive
                                                      platform gtest_mingw)
  target_link_options(windows_platform_test PRIVATE -static)
endif()
