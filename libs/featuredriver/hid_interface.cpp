#include "libs/featuredriver/hid_interface.h"

#include <hidapi/hidapi.h>
#include <unistd.h>

#include <cerrno>

namespace ms1::hiddriver {

std::optional<std::string> ChooseVendorInterface(const std::vector<HidInterface>& interfaces,
                                                 uint16_t vendor_id, uint16_t product_id) {
  for (const HidInterface& i : interfaces) {
    if (i.vendor_id == vendor_id && i.product_id == product_id &&
        i.usage_page >= kVendorUsagePageFirst && !i.path.empty()) {
      return i.path;
    }
  }
  return std::nullopt;
}

std::vector<HidInterface> InterfacesFrom(const hid_device_info* list) {
  std::vector<HidInterface> out;
  for (const hid_device_info* d = list; d; d = d->next) {
    out.push_back({d->path ? d->path : "", d->vendor_id, d->product_id, d->usage_page, d->usage,
                   d->interface_number});
  }
  return out;
}

bool NodeNotAllowed(const std::string& node_path) {
  return ::access(node_path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

}  // namespace ms1::hiddriver
