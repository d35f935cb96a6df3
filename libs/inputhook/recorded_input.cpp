#include "libs/inputhook/recorded_input.h"

#include <xcb/xproto.h>

#include <cstring>
#include <optional>

namespace ms1::inputhook {
namespace {

constexpr std::size_t kEventSize = 32;
constexpr uint8_t kSentEventFlag = 0x80;

std::optional<RecordedInput::Kind> KindOf(uint8_t type) {
  switch (type & ~kSentEventFlag) {
    case XCB_KEY_PRESS: return RecordedInput::Kind::KeyPress;
    case XCB_KEY_RELEASE: return RecordedInput::Kind::KeyRelease;
    case XCB_BUTTON_PRESS: return RecordedInput::Kind::ButtonPress;
    case XCB_BUTTON_RELEASE: return RecordedInput::Kind::ButtonRelease;
    default: return std::nullopt;
  }
}

// Generic events carry a length (in 4-byte units beyond the first 32 bytes);
// every other event is exactly 32 bytes.
std::size_t SizeOf(std::span<const uint8_t> event) {
  if ((event[0] & ~kSentEventFlag) != XCB_GE_GENERIC) return kEventSize;
  uint32_t extra_words = 0;
  std::memcpy(&extra_words, event.data() + 4, sizeof extra_words);
  return kEventSize + std::size_t{extra_words} * 4;
}

}  // namespace

std::vector<RecordedInput> InputEventsIn(std::span<const uint8_t> data) {
  std::vector<RecordedInput> inputs;
  while (data.size() >= kEventSize) {
    if (const auto kind = KindOf(data[0])) inputs.push_back({*kind, data[1]});
    const std::size_t size = SizeOf(data);
    if (size > data.size()) break;
    data = data.subspan(size);
  }
  return inputs;
}

}  // namespace ms1::inputhook
