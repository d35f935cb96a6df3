// Where each value sits in the button-mapping report (command 0x08): three
// device bytes per button of one mode record.
#pragma once

#include "model/protocol/framing.h"

namespace ms1::button_layout {

inline constexpr int kTripleCount = 18;  // one per button
inline constexpr std::size_t kFirstTriple = 3;
inline constexpr std::size_t kTripleSize = 3;  // class, first parameter, second parameter
inline constexpr ChecksumSpan kChecksum =
    ChecksumUpTo(kFirstTriple + kTripleSize * kTripleCount - 1);

constexpr std::size_t TripleOf(int button) {
  return kFirstTriple + kTripleSize * button;
}

static_assert(kChecksum.LowByte() + 1 == report_size::kButtonMapping);

}  // namespace ms1::button_layout
