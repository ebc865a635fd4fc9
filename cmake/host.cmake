# Host build: every window-free unit and its GoogleTest tests, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -Werror ${SANITIZER_FLAGS})
add_link_options(${SANITIZER_FLAGS})
find_package(GTest REQUIRED)
include(GoogleTest)
