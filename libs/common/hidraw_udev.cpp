#include "libs/common/hidraw_udev.h"

#include <libudev.h>

namespace ms1 {

namespace {

std::string Text(const char* text) {
  return text ? text : "";
}

std::string HidIdAbove(udev_device* node) {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr);
  return hid ? Text(udev_device_get_property_value(hid, "HID_ID")) : "";
}

}  // namespace

HidrawUdev::HidrawUdev() {
  udev_ = udev_new();
  if (!udev_) return;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (!monitor_) return;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    udev_monitor_unref(monitor_);
    monitor_ = nullptr;
  }
}

HidrawUdev::~HidrawUdev() {
  if (monitor_) udev_monitor_unref(monitor_);
  if (udev_) udev_unref(udev_);
}

int HidrawUdev::fd() const {
  return monitor_ ? udev_monitor_get_fd(monitor_) : -1;
}

std::vector<HidrawNode> HidrawUdev::PresentNodes() const {
  std::vector<HidrawNode> nodes;
  udev_enumerate* list = udev_ ? udev_enumerate_new(udev_) : nullptr;
  if (!list) return nodes;
  udev_enumerate_add_match_subsystem(list, "hidraw");
  udev_enumerate_scan_devices(list);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
    const char* syspath = udev_list_entry_get_name(entry);
    udev_device* node = udev_device_new_from_syspath(udev_, syspath);
    if (!node) continue;
    nodes.push_back({syspath, HidIdAbove(node)});
    udev_device_unref(node);
  }
  udev_enumerate_unref(list);
  return nodes;
}

std::optional<HidrawChange> HidrawUdev::ReadChange() {
  if (!monitor_) return std::nullopt;
  udev_device* node = udev_monitor_receive_device(monitor_);
  if (!node) return std::nullopt;
  HidrawChange change{Text(udev_device_get_action(node)),
                      {Text(udev_device_get_syspath(node)), HidIdAbove(node)}};
  udev_device_unref(node);
  return change;
}

}  // namespace ms1
