# Win32 build: the program, statically linked so that it imports only
# Windows' own DLLs, and the tests that run under Wine.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
add_compile_options(-Wall -Wextra -Werror)
add_link_options(-static -static-libgcc -static-libstdc++)

# The program's own code is lean: no C++ exceptions (nothing in it throws:
# texts live in the framework's own buffers, see framework/heap.h), no
# run-time type information, every function and datum in a section of its
# own so that the linker drops what nothing calls (app/CMakeLists.txt), and
# no guards on function-local statics: the program's only ones are the
# message maps, first reached on the screens' own thread. The tests keep the
# full C++ runtime, which GoogleTest needs.
set(LEAN_COMPILE_OPTIONS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-threadsafe-statics
    -ffunction-sections -fdata-sections)
function(lean_program_code)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE ${LEAN_COMPILE_OPTIONS})
  endforeach()
endfunction()

# GoogleTest, cross-built from Debian's source.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The Wine-side tests run the shipped program: the i686 build, under Wine's
# 32-bit half. Only where this machine cannot run 32-bit code (the probe runs
# a static i386 program and says why not) does the x86_64 build of the same
# sources stand in, under 64-bit Wine, and every such test says so.
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/probe-32bit
  RESULT_VARIABLE no_32bit_code OUTPUT_VARIABLE no_32bit_reason OUTPUT_STRIP_TRAILING_WHITESPACE)
set(WINE_STAND_IN_REASON "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  if(no_32bit_code EQUAL 0 AND EXISTS /usr/lib/wine/wine)
    set(RUN_UNDER_WINE ON)
    set(WINE_ARCH win32)
  else()
    set(RUN_UNDER_WINE OFF)
    if(no_32bit_code EQUAL 0)
      message(STATUS "Wine's 32-bit half (wine32:i386) is not installed: scripts/setup-deps installs it")
    else()
      message(STATUS "The i686 build is checked for its form only: ${no_32bit_reason}")
    endif()
  endif()
else()
  if(no_32bit_code EQUAL 0)
    set(RUN_UNDER_WINE OFF)
    message(STATUS "This machine runs 32-bit code: the Wine-side tests run the i686 build (preset win32), not this one")
  else()
    set(RUN_UNDER_WINE ON)
    set(WINE_ARCH win64)
    string(REPLACE ";" "," WINE_STAND_IN_REASON "${no_32bit_reason}")
  endif()
endif()

# Every Win32-side test runs through the one Wine runner, one at a time.
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
function(add_wine_test name)
  if(RUN_UNDER_WINE)
    add_test(NAME ${name} COMMAND ${WINE_RUN} ${ARGN})
    # The whole end-to-end driver runs for several minutes on a loaded
    # machine: bound the run, not each case, generously.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 3000
      ENVIRONMENT "WINE_RUN_TIMEOUT=2700;WINE_ARCH=${WINE_ARCH};WINE_STAND_IN_REASON=${WINE_STAND_IN_REASON};WINE_UNMANAGED=1")
  endif()
endfunction()

# A path of this build as Wine's drive Z: names it.
function(wine_path out path)
  string(REPLACE "/" "\\" converted "${path}")
  set(${out} "Z:${converted}" PARENT_SCOPE)
endfunction()
