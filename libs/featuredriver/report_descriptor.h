// What a HID report descriptor says about its interface, read as hidraw gives
// it (sysfs "report_descriptor"): the usage page of its first top-level
// collection, as hidapi reports it, decides whether it is the mouse's
// vendor-defined interface, the one the driver opens.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace ms1::hiddriver {

// The usage page in force when the first collection opens; none when the
// descriptor opens no collection or ends in the middle of an item.
std::optional<uint16_t> FirstCollectionUsagePage(std::span<const uint8_t> descriptor);

bool IsVendorDefinedInterface(std::span<const uint8_t> descriptor);

}  // namespace ms1::hiddriver
