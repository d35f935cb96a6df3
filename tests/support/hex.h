// Test helper: reports written as hex text, as in the protocol notes.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace ms1::test {

inline std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::istringstream in(text);
  std::string token;
  while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  return bytes;
}

}  // namespace ms1::test
