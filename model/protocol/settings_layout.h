// Where each value sits in the settings report (command 0x04): the DPI levels
// of one mode record with their indicator colours.
#pragma once

#include "model/protocol/framing.h"

namespace ms1::settings_layout {

inline constexpr int kLevelCount = 8;
inline constexpr std::size_t kSettingsByteA = 3;
inline constexpr std::size_t kSettingsByteB = 4;
inline constexpr std::size_t kEnableMask = 5;     // bit n: level n enabled
inline constexpr std::size_t kHighRangeMask = 6;  // bit n: level n above 4000 DPI
inline constexpr std::size_t kHighRangeMaskCopy = 7;
inline constexpr std::size_t kFirstStepCounts = 8;    // one byte per level
inline constexpr std::size_t kSecondStepCounts = 16;  // one byte per level
inline constexpr std::size_t kDpiLevel = 24;          // current level + 1
inline constexpr std::size_t kFirstColor = 25;        // red, green, blue per level
inline constexpr std::size_t kColorSize = 3;
inline constexpr std::size_t kTrailer = 49;
inline constexpr uint8_t kTrailerValue = 0x02;
inline constexpr ChecksumSpan kChecksum = ChecksumUpTo(kTrailer);
inline constexpr ByteSpan kPadding = {52, 55};

constexpr std::size_t ColorOf(int level) {
  return kFirstColor + kColorSize * level;
}

static_assert(ColorOf(kLevelCount) == kTrailer);
static_assert(kChecksum.LowByte() + 1 == kPadding.first);
static_assert(kPadding.last + 1 == report_size::kSettings);

}  // namespace ms1::settings_layout
