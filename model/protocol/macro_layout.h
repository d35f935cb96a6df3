// The macro report (command 0x09): header, the step pairs with their delay
// encoding, and the three chunks the wired link takes it in.
#pragma once

#include "model/protocol/framing.h"

namespace ms1 {

namespace macro_layout {
inline constexpr std::size_t kNumber = frame::kTarget;  // macro number, 1, 2, ...
inline constexpr std::size_t kRepeatMode = 3;
inline constexpr ByteSpan kReserved = {4, 6};  // the button's macro_reserved, three times
inline constexpr std::size_t kLoopCount = 7;   // 0 is sent as 1
inline constexpr ByteSpan kFixedZero = {8, 27};
inline constexpr std::size_t kPairCount = 28;
inline constexpr std::size_t kFirstPair = 29;
inline constexpr std::size_t kPairSize = 2;  // time byte, key byte
inline constexpr int kPairCapacity = 50;
inline constexpr std::size_t kPayloadEnd = kFirstPair + kPairSize * kPairCapacity - 1;  // 128
inline constexpr ChecksumSpan kChecksum = ChecksumUpTo(kPayloadEnd);

constexpr std::size_t PairAt(int pair) {
  return kFirstPair + kPairSize * pair;
}
static_assert(kChecksum.LowByte() + 1 == report_size::kMacro);
}  // namespace macro_layout

// One step pair: the time byte holds the delay in tens of milliseconds in
// bits 0..6 and the press flag; a long-delay pair carries whole 200 ms units
// in the time byte and kLongDelayKey in place of a key.
namespace macro_pair {
inline constexpr uint8_t kPressFlag = 0x01;
inline constexpr uint8_t kReleaseFlag = 0x81;
inline constexpr uint8_t kReleaseBit = 0x80;
inline constexpr uint8_t kTimeMask = 0x7F;
inline constexpr uint32_t kTimeUnitMs = 10;
// Longer delays are split into a remainder pair and a long-delay pair.
inline constexpr uint32_t kLongestDirectDelayMs = 1270;
inline constexpr uint32_t kLongDelayUnitMs = 200;
inline constexpr uint8_t kLongDelayKey = 0x03;
inline constexpr int kMaxLongDelayPairs = 10;
// The count of 200 ms units is one byte: a longer delay would play wrapped.
inline constexpr uint32_t kLongestDelayMs = 0xFF * kLongDelayUnitMs + (kLongDelayUnitMs - 1);
}  // namespace macro_pair

// Chunk i of the wired form: command, chunk size, macro number, i, then 60
// bytes of the macro report from byte 3 on; the last chunk is zero padded.
namespace macro_chunk_layout {
inline constexpr std::size_t kNumber = frame::kTarget;
inline constexpr std::size_t kIndex = 3;
inline constexpr std::size_t kFirstPayload = 4;
inline constexpr std::size_t kPayloadSize = report_size::kWiredChunk - kFirstPayload;  // 60
inline constexpr std::size_t kSourceFirst = frame::kHeaderSize;  // macro report byte 3
inline constexpr int kChunkCount = 3;
// The last chunk carries the report's last 8 bytes, zeros after them.
inline constexpr std::size_t kLastChunkDataEnd =
    kFirstPayload + (report_size::kMacro - kSourceFirst) - (kChunkCount - 1) * kPayloadSize;
static_assert(kChunkCount * kPayloadSize >= report_size::kMacro - kSourceFirst);
}  // namespace macro_chunk_layout

}  // namespace ms1
