#include "libs/featuredriver/udev_watch.h"

#include <libudev.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace ms1::hiddriver {

bool UdevWatch::Start(uint16_t vendor_id, uint16_t product_id, OnPresence on_presence) {
  Stop();
  vendor_id_ = vendor_id;
  product_id_ = product_id;
  on_presence_ = std::move(on_presence);
  udev_ = udev_new();
  if (!udev_) return false;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  wake_ = std::make_unique<WakeEvent>();
  if (!monitor_ || !wake_->Valid() ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    Release();
    return false;
  }
  // Nodes already there are known, so a later removal is recognised; they
  // are not announced: the program opens the device itself at start.
  tracker_ = PresenceTracker();
  SeedFromPresentNodes();
  thread_ = std::thread([this] { Loop(); });
  return true;
}

void UdevWatch::Stop() {
  if (thread_.joinable()) {
    wake_->Signal();
    thread_.join();
  }
  Release();
}

void UdevWatch::Release() {
  if (monitor_) udev_monitor_unref(monitor_);
  if (udev_) udev_unref(udev_);
  monitor_ = nullptr;
  udev_ = nullptr;
  wake_.reset();
}

bool UdevWatch::Matches(udev_device* device) const {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
  if (!hid) return false;
  const auto id = ParseHidId(udev_device_get_property_value(hid, "HID_ID"));
  return id && id->vendor_id == vendor_id_ && id->product_id == product_id_;
}

void UdevWatch::SeedFromPresentNodes() {
  udev_enumerate* list = udev_enumerate_new(udev_);
  if (!list) return;
  udev_enumerate_add_match_subsystem(list, "hidraw");
  udev_enumerate_scan_devices(list);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
    const char* syspath = udev_list_entry_get_name(entry);
    udev_device* device = udev_device_new_from_syspath(udev_, syspath);
    if (!device) continue;
    if (Matches(device)) tracker_.NodeAdded(syspath);
    udev_device_unref(device);
  }
  udev_enumerate_unref(list);
}

void UdevWatch::Loop() {
  for (;;) {
    pollfd fds[2] = {wake_->PollEntry(), {udev_monitor_get_fd(monitor_), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    if (!(fds[1].revents & POLLIN)) continue;
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (!device) continue;
    const char* action = udev_device_get_action(device);
    const char* syspath = udev_device_get_syspath(device);
    if (action && syspath) {
      // A removed node's parent may already be gone: removal goes by the
      // nodes seen arriving, not by the device's ids.
      if (std::strcmp(action, "add") == 0 && Matches(device) && tracker_.NodeAdded(syspath)) {
        on_presence_(true);
      } else if (std::strcmp(action, "remove") == 0 && tracker_.NodeRemoved(syspath)) {
        on_presence_(false);
      }
    }
    udev_device_unref(device);
  }
}

}  // namespace ms1::hiddriver
