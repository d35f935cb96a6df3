// Finds the links at start, follows their arrival and removal, keeps one state
// per link and tells the main window whether any link is present. Runs on the
// interface thread; the worker and the transport only read the link fields.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "device/bluetooth/bluetooth_presence.h"
#include "device/charge_display.h"
#include "device/device_event.h"
#include "device/driver/feature_drivers.h"
#include "device/link_host.h"
#include "device/link_state.h"
#include "device/link_view.h"

namespace ms1 {

// The Bluetooth LE transport as the connection manager drives it.
class BluetoothControl {
 public:
  virtual ~BluetoothControl() = default;
  // Points the transport at the mouse and subscribes to its notifications.
  virtual void Connect(std::string_view vendor_match, std::string_view product_match) = 0;
  // Clears the filter: later writes do nothing.
  virtual void Disconnect() = 0;
};

// How the mouse's Bluetooth ids appear in the interface names the transport
// filters by: "VID&02045E" (02: an id the USB forum assigned) and "PID&0040".
inline const std::string kBluetoothVendorMatch =
    "VID&02" + link_ids::IdText(link_ids::kBluetoothVendor);
inline const std::string kBluetoothProductMatch =
    "PID&" + link_ids::IdText(link_ids::kBluetoothProduct);

class ConnectionManager {
 public:
  // `device_event` receives the device events (codes 0x1000..0x9000) of the
  // wired and receiver links. `probe_bluetooth` tells whether the mouse is
  // connected over Bluetooth LE at start. `link_usable` runs when a link
  // arrives after start, ready to carry reports. A cable or receiver counts
  // as arrived only after a settling pause, waited for on a timer.
  ConnectionManager(LinkState& links, FeatureDrivers& drivers, LinkView& view, LinkHost& host,
                    ChargeDisplay& charge, BluetoothControl& bluetooth,
                    std::function<void(DeviceEvent)> device_event,
                    std::function<bool()> probe_bluetooth, std::function<void()> link_usable = {});

  // Start-up detection: loads the driver libraries from `driver_folder`, opens
  // the wired link, then the receiver, looks for Bluetooth LE, and posts the
  // presence.
  void Start(const std::string& driver_folder, Ms1WindowHandle window, bool load_wired = true,
             bool load_receiver = true);

  void OnWiredLink(DeviceEvent e);
  void OnReceiverLink(DeviceEvent e);
  void OnBluetoothLink(bool connected);
  // A device-change notification: an arrival while connected is ignored.
  void OnBluetoothChange(LinkChange change);
  // Timer 100 fired: no status event came over the receiver for 6000 ms.
  void OnHeartbeatTimeout();
  // Arrivals still settling are dropped; nothing later touches the drivers.
  void Stop();

 private:
  // An arrival waiting out its settling pause; a removal or Stop during the
  // wait cancels it, and a later arrival starts a wait of its own.
  struct Settling {
    bool pending = false;
    int generation = 0;
  };
  // The plug and data messages of the cable's or the receiver's driver.
  void OnDriverLink(ConnectionMode link, DeviceEvent e);
  void AfterSettling(ConnectionMode link);
  // A link's arrival and removal, each link in its own order of steps.
  void Arrived(ConnectionMode link);
  void Removed(ConnectionMode link);
  // The link's field: wiredState, receiverState or bleConnected.
  std::atomic<int>& StateOf(ConnectionMode link);
  // The driver library of the cable or the receiver; none when it is missing.
  DriverLibrary* DriverOf(ConnectionMode link) const;
  // Whether a link other than `link` is present.
  bool OtherLinkPresent(ConnectionMode link) const;
  void SetPresence(bool present);
  void TellLinkUsable();

  LinkState& links_;
  FeatureDrivers& drivers_;
  LinkView& view_;
  LinkHost& host_;
  ChargeDisplay& charge_;
  BluetoothControl& bluetooth_;
  std::function<void(DeviceEvent)> device_event_;
  std::function<bool()> probe_bluetooth_;
  std::function<void()> link_usable_;
  std::array<Settling, kLinkCount> settling_;  // by link; Bluetooth LE does not settle
  bool stopped_ = false;
  // Expires with the manager: a settling wait never runs on a destroyed one.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace ms1
