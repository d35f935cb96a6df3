// Which HID interface of the mouse the driver opens. The mouse shows the
// system an ordinary mouse interface and a vendor-defined one; only the
// vendor-defined one carries configuration reports and status events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct hid_device_info;

namespace ms1::hiddriver {

struct HidInterface {
  std::string path;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  int interface_number = -1;
};

// Usage pages from here on are vendor-defined.
inline constexpr uint16_t kVendorUsagePageFirst = 0xFF00;

// The first interface of the device with a vendor-defined usage page; none
// when the device is absent or offers only standard interfaces.
std::optional<std::string> ChooseVendorInterface(const std::vector<HidInterface>& interfaces,
                                                 uint16_t vendor_id, uint16_t product_id);

std::vector<HidInterface> InterfacesFrom(const hid_device_info* list);

// Whether a node that would not open is one this user may not read and write
// (no udev rule, or not the user at the seat), rather than one that went away.
bool NodeNotAllowed(const std::string& node_path);

}  // namespace ms1::hiddriver
