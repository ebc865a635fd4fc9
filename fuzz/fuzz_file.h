// Fuzz inputs for the file readers: each input is written to a file of this
// process's own, which the reader then reads as the program would.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

inline std::string WriteFuzzInput(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string path = "/tmp/" + std::string(name) + "-" + std::to_string(getpid());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return path;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}
