// Test helper: reports written as hex text, as in the protocol notes, and
// the checksum they carry.
#pragma once

#include <gtest/gtest.h>

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

// The sum of bytes 3 up to `at`, stored big-endian in the two bytes at `at`.
inline ::testing::AssertionResult ChecksumAt(const std::vector<uint8_t>& r, std::size_t at) {
  uint16_t sum = 0;
  for (std::size_t i = 3; i < at && i < r.size(); ++i) sum = static_cast<uint16_t>(sum + r[i]);
  if (r.size() > at + 1 && r[at] == sum >> 8 && r[at + 1] == (sum & 0xFF)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "bytes 3 to " << at - 1 << " sum to " << sum;
}

}  // namespace ms1::test
