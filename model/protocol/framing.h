// Framing shared by every report the program sends to the mouse: the command
// and length bytes, the third header byte, and the checksum most reports carry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ms1 {

namespace command {
inline constexpr uint8_t kSettings = 0x04;
inline constexpr uint8_t kLighting = 0x05;
inline constexpr uint8_t kPollingRate = 0x06;
inline constexpr uint8_t kButtonMapping = 0x08;
inline constexpr uint8_t kMacro = 0x09;
inline constexpr uint8_t kModeSelect = 0x0C;
}  // namespace command

// Total lengths, as byte 1 carries them.
namespace report_size {
inline constexpr std::size_t kSettings = 56;
inline constexpr std::size_t kLighting = 15;
inline constexpr std::size_t kPollingRate = 9;
inline constexpr std::size_t kButtonMapping = 59;
inline constexpr std::size_t kMacro = 131;
inline constexpr std::size_t kModeSelect = 10;
// The wired link takes nothing longer; the macro report goes there in chunks.
inline constexpr std::size_t kWiredChunk = 64;
inline constexpr std::size_t kLargest = kMacro;
}  // namespace report_size

namespace frame {
inline constexpr std::size_t kCommand = 0;
inline constexpr std::size_t kLength = 1;
// Per-mode reports: the mode number; the others name their own use of it.
inline constexpr std::size_t kTarget = 2;
inline constexpr std::size_t kHeaderSize = 3;
}  // namespace frame

// Mode number = mode record index + 1, for the five mode records.
inline constexpr int kFirstModeNumber = 1;
inline constexpr int kLastModeNumber = 5;

// A range of report bytes, both ends included.
struct ByteSpan {
  std::size_t first;
  std::size_t last;
};

// The bytes a checksum covers; the sum follows them, high byte first.
struct ChecksumSpan {
  std::size_t first;
  std::size_t last;
  constexpr std::size_t HighByte() const { return last + 1; }
  constexpr std::size_t LowByte() const { return last + 2; }
};

// Checksums start after the header and never cover it.
constexpr ChecksumSpan ChecksumUpTo(std::size_t last_payload_byte) {
  return {frame::kHeaderSize, last_payload_byte};
}

// 16-bit wrapping sum of bytes first..last (inclusive).
uint16_t ReportChecksum(const uint8_t* buffer, std::size_t first, std::size_t last);

// The mouse protects single values with their bitwise complement in the next byte.
constexpr uint8_t Complement(uint8_t value) {
  return static_cast<uint8_t>(~value);
}

}  // namespace ms1
