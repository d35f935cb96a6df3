// Test helper: a fresh folder per test, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace ms1::test {

// A new empty folder under the system's temporary folder. mkdtemp makes the
// name unique among every process of the machine, ctest -j siblings and
// other checkouts' runs included; `prefix` only tells a person whose it is.
inline std::filesystem::path MakeTempDir(std::string prefix) {
  for (char& c : prefix) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '-') c = '_';
  }
  std::string pattern =
      (std::filesystem::temp_directory_path() / (prefix.substr(0, 40) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  return pattern;
}

// The running test's name, for folder prefixes.
inline std::string CurrentTestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// Removes a folder and everything in it without ever throwing: it runs in
// destructors and tear-downs. Another process may remove entries at the same
// moment (a simulator its socket); such a vanished entry only means another try.
inline void RemoveTree(const std::filesystem::path& path) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (!error) return;
  }
}

class TempDirTest : public ::testing::Test {
 protected:
  const std::filesystem::path dir = MakeTempDir("ms1-" + CurrentTestName());
  void TearDown() override { RemoveTree(dir); }
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace ms1::test
