#include "device/bluetooth/bluetooth_presence.h"

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <charconv>
#include <cstdio>

#include "model/protocol/link_ids.h"

namespace ms1 {

namespace {

std::optional<unsigned long> HexField(std::string_view text) {
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

bool IsMouseBluetoothHidId(std::string_view hid_id) {
  const auto first = hid_id.find(':');
  const auto second = first == std::string_view::npos ? first : hid_id.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  const auto bus = HexField(hid_id.substr(0, first));
  const auto vendor = HexField(hid_id.substr(first + 1, second - first - 1));
  const auto product = HexField(hid_id.substr(second + 1));
  return bus == link_ids::kBluetoothBus && vendor == link_ids::kBluetoothVendor &&
         product == link_ids::kBluetoothProduct;
}

bool ListHasBluetoothMouse(const hid_device_info* list) {
  for (const hid_device_info* d = list; d != nullptr; d = d->next) {
    if (d->bus_type == HID_API_BUS_BLUETOOTH && d->vendor_id == link_ids::kBluetoothVendor &&
        d->product_id == link_ids::kBluetoothProduct) {
      return true;
    }
  }
  return false;
}

bool ProbeBluetoothMouse() {
  if (hid_init() != 0) return false;
  hid_device_info* list = hid_enumerate(link_ids::kBluetoothVendor, link_ids::kBluetoothProduct);
  const bool present = ListHasBluetoothMouse(list);
  hid_free_enumeration(list);
  return present;
}

std::optional<LinkChange> BluetoothNodeTracker::OnHidraw(std::string_view action,
                                                         const std::string& syspath,
                                                         std::string_view hid_id) {
  if (action == "add" && IsMouseBluetoothHidId(hid_id)) {
    mouse_nodes_.insert(syspath);
    return LinkChange::kArrived;
  }
  if (action == "remove" && mouse_nodes_.erase(syspath) > 0) return LinkChange::kRemoved;
  return std::nullopt;
}

HidrawMonitor::HidrawMonitor() {
  udev_ = udev_new();
  if (!udev_) return;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (!monitor_) return;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    udev_monitor_unref(monitor_);
    monitor_ = nullptr;
    return;
  }
  // Nodes present at start are known to the tracker, so their removal is seen.
  udev_enumerate* list = udev_enumerate_new(udev_);
  udev_enumerate_add_match_subsystem(list, "hidraw");
  udev_enumerate_scan_devices(list);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
    const char* path = udev_list_entry_get_name(entry);
    udev_device* dev = udev_device_new_from_syspath(udev_, path);
    if (!dev) continue;
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
    const char* hid_id = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    if (hid_id) tracker_.OnHidraw("add", path, hid_id);
    udev_device_unref(dev);
  }
  udev_enumerate_unref(list);
}

HidrawMonitor::~HidrawMonitor() {
  if (monitor_) udev_monitor_unref(monitor_);
  if (udev_) udev_unref(udev_);
}

int HidrawMonitor::fd() const {
  return monitor_ ? udev_monitor_get_fd(monitor_) : -1;
}

std::optional<LinkChange> HidrawMonitor::ReadChange() {
  if (!monitor_) return std::nullopt;
  udev_device* dev = udev_monitor_receive_device(monitor_);
  if (!dev) return std::nullopt;
  const char* action = udev_device_get_action(dev);
  const char* syspath = udev_device_get_syspath(dev);
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
  const char* hid_id = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
  std::optional<LinkChange> change;
  if (action && syspath) change = tracker_.OnHidraw(action, syspath, hid_id ? hid_id : "");
  if (action && std::string_view(action) == "add") {
    std::printf("DBT_DEVICEARRIVAL.\n");
    if (syspath) std::printf("%s\r\n", syspath);
  }
  udev_device_unref(dev);
  return change;
}

}  // namespace ms1
