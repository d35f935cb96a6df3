#include "libs/featuredriver/device_presence.h"

#include <cstdio>

namespace ms1::hiddriver {

std::optional<HidId> ParseHidId(const char* text) {
  if (!text) return std::nullopt;
  unsigned bus = 0, vendor = 0, product = 0;
  int consumed = 0;
  if (std::sscanf(text, "%4x:%8x:%8x%n", &bus, &vendor, &product, &consumed) != 3 ||
      text[consumed] != '\0' || vendor > 0xFFFF || product > 0xFFFF) {
    return std::nullopt;
  }
  return HidId{static_cast<uint16_t>(bus), static_cast<uint16_t>(vendor),
               static_cast<uint16_t>(product)};
}

bool PresenceTracker::NodeAdded(const std::string& syspath) {
  const bool was_absent = nodes_.empty();
  return nodes_.insert(syspath).second && was_absent;
}

bool PresenceTracker::NodeRemoved(const std::string& syspath) {
  return nodes_.erase(syspath) == 1 && nodes_.empty();
}

}  // namespace ms1::hiddriver
