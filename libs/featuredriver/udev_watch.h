// The monitor thread: follows hidraw nodes of one device through libudev and
// reports when the device arrives or leaves. Event driven: it sleeps in poll()
// on the udev monitor and a wake-up descriptor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "libs/common/hidraw_udev.h"
#include "libs/common/wake_event.h"
#include "libs/featuredriver/device_presence.h"

namespace ms1::hiddriver {

class UdevWatch {
 public:
  using OnPresence = std::function<void(bool present)>;

  ~UdevWatch() { Stop(); }
  // False when libudev cannot watch (no netlink access); nothing runs then.
  bool Start(uint16_t vendor_id, uint16_t product_id, OnPresence on_presence);
  void Stop();
  bool Running() const { return thread_.joinable(); }

 private:
  void Loop();
  // Whether the hidraw node belongs to the watched device.
  bool Matches(const HidrawNode& node) const;
  void SeedFromPresentNodes();
  void Release();

  uint16_t vendor_id_ = 0;
  uint16_t product_id_ = 0;
  OnPresence on_presence_;
  std::unique_ptr<HidrawUdev> hidraw_;
  PresenceTracker tracker_;
  std::unique_ptr<WakeEvent> wake_;
  std::thread thread_;
};

}  // namespace ms1::hiddriver
