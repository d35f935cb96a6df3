// Interprets the mouse's own events: battery and sleep state for the power
// display, the acknowledgement the receiver transport waits for, and settings
// changed with the mouse's buttons, which go into the current profile and the
// store. Runs on the interface thread only; Bluetooth notifications are handed
// over to it (OnBluetoothNotification).
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "device/device_event.h"
#include "device/link_host.h"
#include "device/link_state.h"
#include "device/link_view.h"
#include "device/page_model.h"

namespace ms1 {

class DeviceEventHandler {
 public:
  // `request_apply` asks for an apply (the mouse woke with edits waiting);
  // `reported` runs after the mouse changed a setting with its own buttons:
  // edits that waited may now be moot.
  DeviceEventHandler(PageModel& model, LinkState& links, LinkView& view, LinkHost& host,
                     ProfileStoreWriter& store, std::function<void()> request_apply = {},
                     std::function<void()> reported = {})
      : model_(model),
        links_(links),
        view_(view),
        host_(host),
        store_(store),
        request_apply_(std::move(request_apply)),
        reported_(std::move(reported)) {}

  void HandleDeviceEvent(DeviceEvent e);

  // A Bluetooth LE notification, on the system's notification thread: parsed
  // there, handled on the interface thread in arrival order.
  void OnBluetoothNotification(std::span<const uint8_t> data);

  // Last accepted battery level in tenths (1..10); 0 before the first.
  int battery_level() const { return battery_level_; }

 private:
  void OnDpiLevel(uint16_t level);
  void OnPollingRate(uint16_t value);
  void OnStatus(uint16_t value);
  void OnMode(uint16_t mode);
  void SaveStore();
  // Saves what the mouse reported and tells of it.
  void Reported();

  PageModel& model_;
  LinkState& links_;
  LinkView& view_;
  LinkHost& host_;
  ProfileStoreWriter& store_;
  std::function<void()> request_apply_;
  std::function<void()> reported_;
  int battery_level_ = 0;
};

}  // namespace ms1
