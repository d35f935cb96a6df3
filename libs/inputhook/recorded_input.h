// The key and button events inside the data the X server records for us.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ms1::inputhook {

struct RecordedInput {
  enum class Kind { KeyPress, KeyRelease, ButtonPress, ButtonRelease };
  Kind kind;
  uint8_t detail;  // the X key code, or the button number
  bool operator==(const RecordedInput&) const = default;
};

// The key and button events among the X events in `data` (the data of one
// reply that carries events from the server), in order. Other events are
// skipped; an incomplete event at the end is ignored.
std::vector<RecordedInput> InputEventsIn(std::span<const uint8_t> data);

}  // namespace ms1::inputhook
