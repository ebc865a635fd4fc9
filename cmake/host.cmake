# Host build: every window-free unit and its GoogleTest tests, under
# AddressSanitizer and UndefinedBehaviorSanitizer; the "host-tsan" build runs
# the same tests under ThreadSanitizer, for the run's two threads.
# An empty HOST_SANITIZE builds without sanitizers: the benchmarks' build of
# the kit (scripts/bench), whose time and memory are measured.
set(HOST_SANITIZE "address,undefined" CACHE STRING "Sanitizers of the host build")
if(HOST_SANITIZE)
  set(SANITIZER_FLAGS -fsanitize=${HOST_SANITIZE} -fno-omit-frame-pointer)
else()
  set(SANITIZER_FLAGS)
endif()
# The fuzz build instruments every unit for libFuzzer's coverage.
option(FUZZ "Build the fuzz targets (clang)" OFF)
if(FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(HOST_SANITIZE MATCHES "undefined")
  list(APPEND SANITIZER_FLAGS -fno-sanitize-recover=all)
endif()
add_compile_options(-Wall -Wextra -Werror ${SANITIZER_FLAGS})
add_link_options(${SANITIZER_FLAGS})
find_package(GTest REQUIRED)
include(GoogleTest)
