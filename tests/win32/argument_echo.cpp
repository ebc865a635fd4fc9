// Writes the arguments the C runtime has split its command line into, the
// program's name left out, to its standard output: each as its length in
// bytes, a colon and its bytes. The agreement test starts it with the
// command lines of its table.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  for (int i = 1; i < __argc; ++i) std::printf("%u:%s", static_cast<unsigned>(std::strlen(__argv[i])), __argv[i]);
  return 0;
}
