// What the fuzz targets share: a scratch folder of the process, the input
// written as a file, input read piece by piece, and the stop on a broken
// invariant. The targets build both under libFuzzer and as replay tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>

namespace ms1::fuzz {

// A folder of this process alone, removed at exit. It lies in memory
// (/dev/shm) when it can, as the targets write files thousands of times a
// second; MS1_FUZZ_SCRATCH names another parent.
const std::filesystem::path& ScratchFolder();

// Empties the scratch folder, then writes the input as the file `path` in
// it, with the folders it lies in.
void WriteInput(const std::filesystem::path& path, std::span<const uint8_t> bytes);

void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);
std::string ReadFile(const std::filesystem::path& path);

// Stops the run: libFuzzer keeps the input as a finding and a replay test fails.
[[noreturn]] void Broken(const std::string& what);
inline void Require(bool holds, const char* what) {
  if (!holds) Broken(what);
}

// Splits an input into small numbers and byte runs; past the end it gives
// zeros and empty runs, so every input reads as some sequence.
class InputReader {
 public:
  explicit InputReader(std::span<const uint8_t> input) : input_(input) {}

  bool empty() const { return at_ >= input_.size(); }
  uint8_t Byte();
  uint16_t Word();  // little-endian
  uint32_t Long();  // little-endian
  // A run of at most `max` bytes whose length comes from the input.
  std::span<const uint8_t> Run(std::size_t max);

 private:
  std::span<const uint8_t> input_;
  std::size_t at_ = 0;
};

// Byte-wise equality of two records, for round trips.
template <typename T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace ms1::fuzz
