// libudev's view of hidraw nodes, shared by the driver library and the
// program's Bluetooth LE presence: a monitor of nodes coming and going, and
// the nodes already there, each with the HID_ID of the HID device above it.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace ms1 {

struct HidrawNode {
  std::string syspath;
  // The HID_ID property of the HID device above ("0003:00001D57:0000FA61");
  // empty when there is none, as for a removed node whose device is gone.
  std::string hid_id;
};

struct HidrawChange {
  std::string action;  // "add", "remove", ...
  HidrawNode node;
};

class HidrawUdev {
 public:
  // Monitoring starts here, before any listing, so no node falls between.
  HidrawUdev();
  ~HidrawUdev();
  HidrawUdev(const HidrawUdev&) = delete;
  HidrawUdev& operator=(const HidrawUdev&) = delete;

  // False when libudev cannot watch (no netlink access).
  bool ok() const { return monitor_ != nullptr; }
  // Readable when a change is pending.
  int fd() const;
  std::vector<HidrawNode> PresentNodes() const;
  // Reads one pending change; none when nothing could be read.
  std::optional<HidrawChange> ReadChange();

 private:
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
};

}  // namespace ms1
