// Framing shared by every report the program sends to the mouse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ms1 {

// One report as sent: byte 0 the command, byte 1 the total length.
using Report = std::vector<uint8_t>;

namespace command {
inline constexpr uint8_t kSettings = 0x04;
inline constexpr uint8_t kLighting = 0x05;
inline constexpr uint8_t kPollingRate = 0x06;
inline constexpr uint8_t kButtonMapping = 0x08;
inline constexpr uint8_t kMacro = 0x09;
inline constexpr uint8_t kModeSelect = 0x0C;
}  // namespace command

namespace report_size {
inline constexpr std::size_t kSettings = 56;
inline constexpr std::size_t kLighting = 15;
inline constexpr std::size_t kPollingRate = 9;
inline constexpr std::size_t kButtonMapping = 59;
inline constexpr std::size_t kMacro = 131;
inline constexpr std::size_t kModeSelect = 10;
inline constexpr std::size_t kWiredChunk = 64;
}  // namespace report_size

// 16-bit wrapping sum of bytes first..last (inclusive).
uint16_t ReportChecksum(const uint8_t* buffer, std::size_t first, std::size_t last);

// Stores the checksum of bytes 3..last high byte first at last + 1 and last + 2.
void StoreChecksum(Report& report, std::size_t last);

// A zeroed report of the given size with the command and length bytes set.
Report NewReport(uint8_t command, std::size_t size);

}  // namespace ms1
