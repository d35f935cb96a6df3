// What the recorder remembers from one recording to the next, for the whole
// process: the last hook event it took (a held key repeats its press, and a
// new recording must not take the press that ended the previous one again)
// and the tick of that event or of the recording start.
#pragma once

#include <cstdint>
#include <functional>

namespace ms1 {

struct HookEventParameters {
  uintptr_t first = 0;
  intptr_t second = 0;
  friend bool operator==(const HookEventParameters&, const HookEventParameters&) = default;
};

struct RecorderMemory {
  HookEventParameters last_event;
  uint32_t last_event_tick = 0;
};

// The one the editor windows share. Only the interface thread touches it.
RecorderMemory& ProcessRecorderMemory();

// Milliseconds of a monotonic clock, low 32 bits: differences stay right
// across the wrap.
using TickSource = std::function<uint32_t()>;
uint32_t SteadyTickMs();

}  // namespace ms1
