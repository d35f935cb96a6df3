// Packing for records that are mostly zeros: a profile record is 165,004
// bytes, of which a typical one has under two thousand that are not zero. A
// profile not in use is kept packed, a few kilobytes instead of forty pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ms1 {

// The bytes as a sequence of (zero count, literal count, literal bytes), the
// counts as 32-bit little-endian numbers. Short zero runs stay in the
// literals.
std::vector<uint8_t> PackZeroRuns(std::span<const std::byte> bytes);

// The packing of `count` zero bytes, made without them.
std::vector<uint8_t> PackedZeros(std::size_t count);

// Fills out, which must have the size that was packed. False, with out
// unspecified, when packed does not describe exactly out.size() bytes.
bool UnpackZeroRuns(std::span<const uint8_t> packed, std::span<std::byte> out);

// Fills out with the first out.size() bytes that were packed, unpacking no
// further. False when packed holds fewer bytes or is damaged before them.
bool UnpackZeroRunsPrefix(std::span<const uint8_t> packed, std::span<std::byte> out);

}  // namespace ms1
