// Arrival and removal of one device, seen as hidraw nodes come and go. The
// mouse brings several hidraw nodes (one per interface); the program hears of
// an arrival when the first appears and of a removal when the last is gone.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace ms1::hiddriver {

struct HidId {
  uint16_t bus;
  uint16_t vendor_id;
  uint16_t product_id;
  bool operator==(const HidId&) const = default;
};

// The HID_ID property of a hid device: "0003:00001D57:0000FA61".
std::optional<HidId> ParseHidId(const char* text);

class PresenceTracker {
 public:
  // True when this node makes the device present.
  bool NodeAdded(const std::string& syspath);
  // True when this was the device's last node. Unknown nodes are ignored.
  bool NodeRemoved(const std::string& syspath);
  bool Present() const { return !nodes_.empty(); }

 private:
  std::set<std::string> nodes_;
};

}  // namespace ms1::hiddriver
