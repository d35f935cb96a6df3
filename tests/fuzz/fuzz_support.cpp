#include "fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace ms1::fuzz {

namespace fs = std::filesystem;

namespace {

fs::path ScratchParent() {
  if (const char* chosen = std::getenv("MS1_FUZZ_SCRATCH")) return chosen;
  if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  return ec ? fs::path("/tmp") : temp;
}

fs::path MakeScratch() {
  std::string pattern = (ScratchParent() / "ms1-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Broken("no scratch folder under " + pattern);
  return pattern;
}

fs::path g_scratch;

// Empties a folder, keeping the folder itself.
void ClearFolder(const fs::path& folder) {
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

void RemoveScratch() {
  std::error_code ec;
  fs::remove_all(g_scratch, ec);
}

}  // namespace

const fs::path& ScratchFolder() {
  if (g_scratch.empty()) {
    g_scratch = MakeScratch();
    std::atexit(RemoveScratch);
  }
  return g_scratch;
}

void WriteInput(const fs::path& path, std::span<const uint8_t> bytes) {
  ClearFolder(ScratchFolder());
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  WriteFile(path, bytes);
}

void WriteFile(const fs::path& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) Broken("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Broken(const std::string& what) {
  std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

uint8_t InputReader::Byte() {
  return empty() ? 0 : input_[at_++];
}

uint16_t InputReader::Word() {
  const uint8_t low = Byte();
  return static_cast<uint16_t>(low | Byte() << 8);
}

uint32_t InputReader::Long() {
  const uint16_t low = Word();
  return low | static_cast<uint32_t>(Word()) << 16;
}

std::span<const uint8_t> InputReader::Run(std::size_t max) {
  const std::size_t wanted = max == 0 ? 0 : Byte() % (max + 1);
  const std::size_t length = std::min(wanted, input_.size() - std::min(at_, input_.size()));
  const auto run = input_.subspan(std::min(at_, input_.size()), length);
  at_ += length;
  return run;
}

}  // namespace ms1::fuzz
