// The Bluetooth LE transport: reports are written to the mouse's GATT
// characteristic 0xFEE3 and its events arrive as notifications of 0xFEE4,
// both through BlueZ on the system D-Bus. It also follows BlueZ's devices, so
// the mouse connecting or going away is told as it happens, without polling.
// No system bus or no BlueZ: the mouse is never connected and writes return 0.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/bluetooth/bluez_objects.h"
#include "device/bluetooth/bus_thread.h"
#include "device/connection_manager.h"
#include "device/report_sinks.h"

struct sd_bus;

namespace ms1 {

class GattTransport final : public BluetoothControl, public BleWriter {
 public:
  struct Callbacks {
    // The value of a subscribed notification, on the bus thread, in arrival order.
    std::function<void(std::span<const uint8_t> value)> notification;
    // The mouse connected (true) or went away (false), on the bus thread.
    std::function<void(bool connected)> connection;
  };

  explicit GattTransport(Callbacks callbacks) : callbacks_(std::move(callbacks)) {}
  ~GattTransport() override { Stop(); }

  // Connects to the system bus and starts following BlueZ. True when the
  // mouse is connected now. Once.
  bool Start();
  // At once, even while a call waits for BlueZ; after it writes return 0 and
  // nothing more is told. Any thread but the bus thread.
  void Stop() { bus_.Stop(); }

  // Sets the filter and subscribes to the notifications of every matching
  // service (a round trip to BlueZ per characteristic). Both return at once:
  // the interface thread calls them, and they queue behind a write that may
  // wait seconds for BlueZ; writes queued later find them done.
  void Connect(std::string_view vendor_match, std::string_view product_match) override;
  void Disconnect() override;
  // Runs `then` on the bus thread once the calls queued before it are made.
  void AfterQueuedCalls(std::function<void()> then);
  // Waits until the calls queued so far are made.
  void WaitForQueuedCalls();
  // Writes one report to the first matching service that takes it; 1 when
  // one did, 0 otherwise. Waits for BlueZ's answer.
  int WriteReport(const uint8_t* report, int length) override;

 private:
  friend struct GattSignals;  // the D-Bus signal handlers
  void Follow(sd_bus* bus);
  void Rescan(sd_bus* bus);
  void Subscribe(sd_bus* bus);
  int Write(sd_bus* bus, std::span<const uint8_t> report);
  bool FiltersEmpty() const { return vendor_filter_.empty() || product_filter_.empty(); }

  Callbacks callbacks_;
  BusThread bus_;
  // The fields below belong to the bus thread.
  std::string vendor_filter_;
  std::string product_filter_;
  std::vector<std::string> device_list_;  // refreshed at each subscription
  std::set<std::string> subscribed_;      // characteristics whose notifications are taken
  bool mouse_connected_ = false;
};

}  // namespace ms1
