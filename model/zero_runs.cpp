#include "model/zero_runs.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ms1 {
namespace {

constexpr std::size_t kWord = sizeof(uint64_t);
constexpr std::size_t kCountSize = sizeof(uint32_t);

std::size_t ZeroRunEnd(std::span<const std::byte> bytes, std::size_t i) {
  const std::size_t n = bytes.size();
  for (uint64_t word = 0; i + kWord <= n; i += kWord) {
    std::memcpy(&word, bytes.data() + i, kWord);
    if (word != 0) break;
  }
  while (i < n && bytes[i] == std::byte{0}) ++i;
  return i;
}

// The end of the literals starting at i: the start of the next zero run that
// holds a whole aligned 8-byte word (every run of 15 zeros or more does), or
// of the zeros that end the bytes, or the end. Looking a word at a time keeps
// packing a record about as fast as copying it.
std::size_t LiteralEnd(std::span<const std::byte> bytes, std::size_t i) {
  const std::size_t n = bytes.size();
  const std::byte* data = bytes.data();
  for (std::size_t w = (i + kWord - 1) / kWord * kWord; w + kWord <= n; w += kWord) {
    uint64_t word = 0;
    std::memcpy(&word, data + w, kWord);
    if (word == 0) {
      while (w > i && data[w - 1] == std::byte{0}) --w;
      return w;
    }
  }
  std::size_t end = n;
  while (end > i && data[end - 1] == std::byte{0}) --end;
  return end;
}

void AppendCount(std::vector<uint8_t>& out, std::size_t count) {
  const auto value = static_cast<uint32_t>(count);
  const auto* p = reinterpret_cast<const uint8_t*>(&value);
  out.insert(out.end(), p, p + kCountSize);
}

bool ReadCount(std::span<const uint8_t> packed, std::size_t& at, std::size_t& count) {
  if (packed.size() - at < kCountSize) return false;
  uint32_t value = 0;
  std::memcpy(&value, packed.data() + at, kCountSize);
  at += kCountSize;
  count = value;
  return true;
}

}  // namespace

std::vector<uint8_t> PackZeroRuns(std::span<const std::byte> bytes) {
  std::vector<uint8_t> out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t literals_start = ZeroRunEnd(bytes, i);
    const std::size_t literals_end = LiteralEnd(bytes, literals_start);
    AppendCount(out, literals_start - i);
    AppendCount(out, literals_end - literals_start);
    const auto* literals = reinterpret_cast<const uint8_t*>(bytes.data() + literals_start);
    out.insert(out.end(), literals, literals + (literals_end - literals_start));
    i = literals_end;
  }
  out.shrink_to_fit();
  return out;
}

namespace {

// Unpacks into out until it is full or packed ends; the number of bytes
// written, or npos when packed is damaged or holds more than out.
std::size_t UnpackInto(std::span<const uint8_t> packed, std::span<std::byte> out, bool stop_when_full) {
  std::size_t at = 0;
  std::size_t written = 0;
  while (at < packed.size() && !(stop_when_full && written == out.size())) {
    std::size_t zeros = 0;
    std::size_t literals = 0;
    if (!ReadCount(packed, at, zeros) || !ReadCount(packed, at, literals)) return std::string_view::npos;
    if (literals > packed.size() - at) return std::string_view::npos;
    const std::size_t room = out.size() - written;
    if (!stop_when_full && (zeros > room || literals > room - zeros)) return std::string_view::npos;
    // An empty out may have no storage at all, and memset and memcpy want
    // valid pointers even for no bytes.
    const std::size_t zeros_kept = std::min(zeros, room);
    if (zeros_kept > 0) std::memset(out.data() + written, 0, zeros_kept);
    written += zeros_kept;
    const std::size_t literals_kept = std::min(literals, out.size() - written);
    if (literals_kept > 0) std::memcpy(out.data() + written, packed.data() + at, literals_kept);
    written += literals_kept;
    at += literals;
  }
  return written;
}

}  // namespace

std::vector<uint8_t> PackedZeros(std::size_t count) {
  std::vector<uint8_t> out;
  AppendCount(out, count);
  AppendCount(out, 0);
  return out;
}

bool UnpackZeroRuns(std::span<const uint8_t> packed, std::span<std::byte> out) {
  return UnpackInto(packed, out, false) == out.size();
}

bool UnpackZeroRunsPrefix(std::span<const uint8_t> packed, std::span<std::byte> out) {
  return UnpackInto(packed, out, true) == out.size();
}

}  // namespace ms1
