// A folder of its own for each test, removed again when the test ends; tests
// write the package's text files into it byte for byte.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "unit_";
    if (test != nullptr) name += std::string(test->test_suite_name()) + "_" + test->name() + "_";
    for (char& ch : name) {
      if (ch == '/') ch = '_';
    }
    name += std::to_string(::getpid()) + "_" + std::to_string(counter++);
    m_path = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as the program folder is passed.
  std::string Folder() const { return m_path.string() + "/"; }

  // Path of `name` inside the folder; the file need not exist.
  std::string PathOf(const std::string& name) const { return (m_path / name).string(); }

  // Writes `bytes` exactly as given and returns the file's path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    EXPECT_TRUE(out.good()) << "cannot write " << path;
    return path;
  }

 private:
  std::filesystem::path m_path;
};
