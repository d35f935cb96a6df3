#include "libs/featuredriver/report_descriptor.h"

#include "libs/featuredriver/hid_interface.h"

namespace ms1::hiddriver {

namespace {

constexpr uint8_t kLongItem = 0xFE;
constexpr uint8_t kTypeMain = 0, kTypeGlobal = 1;
constexpr uint8_t kTagCollection = 0xA, kTagUsagePage = 0x0;

}  // namespace

std::optional<uint16_t> FirstCollectionUsagePage(std::span<const uint8_t> descriptor) {
  std::optional<uint16_t> page;
  for (std::size_t at = 0; at < descriptor.size();) {
    const uint8_t prefix = descriptor[at];
    if (prefix == kLongItem) {  // size byte, tag byte, data
      if (at + 1 >= descriptor.size()) return std::nullopt;
      at += 3u + descriptor[at + 1];
      continue;
    }
    const std::size_t size = (prefix & 3u) == 3u ? 4u : (prefix & 3u);
    if (at + 1 + size > descriptor.size()) return std::nullopt;
    const uint8_t type = (prefix >> 2) & 3u;
    const uint8_t tag = prefix >> 4;
    uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= uint32_t{descriptor[at + 1 + i]} << (8 * i);
    if (type == kTypeGlobal && tag == kTagUsagePage) page = static_cast<uint16_t>(value);
    if (type == kTypeMain && tag == kTagCollection) return page;
    at += 1 + size;
  }
  return std::nullopt;
}

bool IsVendorDefinedInterface(std::span<const uint8_t> descriptor) {
  const std::optional<uint16_t> page = FirstCollectionUsagePage(descriptor);
  return page && *page >= kVendorUsagePageFirst;
}

}  // namespace ms1::hiddriver
