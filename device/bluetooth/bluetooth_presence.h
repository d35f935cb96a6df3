// Recognising the mouse's Bluetooth LE link among hidraw devices coming and
// going. The mouse over Bluetooth LE shows up as a hidraw node whose HID
// parent names bus 0005 with the mouse's Bluetooth vendor and product.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "libs/common/hidraw_udev.h"

struct hid_device_info;

namespace ms1 {

// True for a HID_ID property ("BBBB:VVVVVVVV:PPPPPPPP", hex) of the mouse over Bluetooth.
bool IsMouseBluetoothHidId(std::string_view hid_id);

// True when the enumeration holds the mouse on the Bluetooth bus; the same ids
// on another bus (a USB dongle of that maker, say) are not the mouse.
bool ListHasBluetoothMouse(const hid_device_info* list);

// Whether the mouse is connected over Bluetooth LE, asked through hidapi.
bool ProbeBluetoothMouse();

enum class LinkChange { kArrived, kRemoved };

// Remembers which hidraw nodes are the mouse, so a removal (whose parent
// device is already gone) is still recognised.
class BluetoothNodeTracker {
 public:
  // An "add" or "remove" of a hidraw node; returns the change when it concerns the mouse.
  std::optional<LinkChange> OnHidraw(std::string_view action, const std::string& syspath,
                                     std::string_view hid_id);

 private:
  std::set<std::string> mouse_nodes_;
};

// A libudev monitor of hidraw nodes. Event driven: the owner watches fd() (a
// QSocketNotifier in the program) and calls ReadChange() when it is readable.
class HidrawMonitor {
 public:
  HidrawMonitor();

  bool ok() const { return hidraw_.ok(); }
  int fd() const { return hidraw_.fd(); }
  // Reads one pending udev event; a change of the mouse's Bluetooth link, if it was one.
  std::optional<LinkChange> ReadChange();

 private:
  HidrawUdev hidraw_;
  BluetoothNodeTracker tracker_;
};

}  // namespace ms1
