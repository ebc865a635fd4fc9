# Win32 build: the program, statically linked so that it imports only
# Windows' own DLLs, and the tests that run under Wine.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
add_compile_options(-Wall -Wextra -Werror)
add_link_options(-static -static-libgcc -static-libstdc++)

# GoogleTest, cross-built from Debian's source.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Wine here runs 64-bit Windows code only (the sandbox's kernel runs no
# 32-bit Linux executables, which Wine's 32-bit half needs), so the x86_64
# build of the same sources is the one the tests run; the i686 build is the
# shipped program, checked for its form.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RUN_UNDER_WINE ON)
else()
  set(RUN_UNDER_WINE OFF)
endif()

# Every Win32-side test runs through the one Wine runner, one at a time.
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
function(add_wine_test name)
  if(RUN_UNDER_WINE)
    add_test(NAME ${name} COMMAND ${WINE_RUN} ${ARGN})
    # The whole end-to-end driver runs for several minutes on a loaded
    # machine: bound the run, not each case, generously.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 3000 ENVIRONMENT "WINE_RUN_TIMEOUT=2700")
  endif()
endfunction()

# A path of this build as Wine's drive Z: names it.
function(wine_path out path)
  string(REPLACE "/" "\\" converted "${path}")
  set(${out} "Z:${converted}" PARENT_SCOPE)
endfunction()
