// Where each value sits in the lighting report (command 0x05) of one mode record.
#pragma once

#include "model/protocol/framing.h"

namespace ms1::lighting_layout {

inline constexpr std::size_t kEffect = 3;  // effect in the high nibble
inline constexpr unsigned kEffectShift = 4;
inline constexpr std::size_t kSpeed = 4;  // kSpeedBase - speed
inline constexpr unsigned kSpeedBase = 9;
inline constexpr std::size_t kBrightness = 5;
// Only these effects send the brightness; the others send kBrightnessUnsent.
inline constexpr int32_t kSteadyEffect = 1;
inline constexpr int32_t kBreathingEffect = 9;
inline constexpr uint8_t kBrightnessUnsent = 8;
// Bytes 6..8 always carry FF 00 00: the lighting colour is not sent.
inline constexpr std::size_t kFixedByte = 6;
inline constexpr uint8_t kFixedByteValue = 0xFF;
inline constexpr ByteSpan kFixedZero = {7, 8};
inline constexpr std::size_t kSleepTimer = 9;
inline constexpr std::size_t kTrailer = 10;
inline constexpr uint8_t kTrailerValue = 0x01;
inline constexpr ChecksumSpan kChecksum = ChecksumUpTo(kTrailer);
inline constexpr ByteSpan kPadding = {13, 14};

static_assert(kChecksum.LowByte() + 1 == kPadding.first);
static_assert(kPadding.last + 1 == report_size::kLighting);

constexpr bool SendsBrightness(int32_t effect) {
  return effect == kSteadyEffect || effect == kBreathingEffect;
}

}  // namespace ms1::lighting_layout
