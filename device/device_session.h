// Everything on the device side of the page, built and started in the
// program's order and stopped in the reverse one: the driver libraries, the
// link states, the transport, the apply engine on its worker thread, the
// connection manager, the device events and the watch of Bluetooth LE nodes.
// The program's device page and ms1ctl both run the mouse through it, so the
// start and the shutdown they take are the same.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "device/apply_engine.h"
#include "device/bluetooth/bluetooth_presence.h"
#include "device/bluetooth/gatt_transport.h"
#include "device/charge_display.h"
#include "device/connection_manager.h"
#include "device/device_event_handler.h"
#include "device/driver/feature_drivers.h"
#include "device/link_host.h"
#include "device/link_state.h"
#include "device/link_view.h"
#include "device/pacer.h"
#include "device/page_model.h"
#include "device/page_worker.h"
#include "device/report_transport.h"
#include "device/store_saver.h"

namespace ms1 {

class DeviceSession {
 public:
  // Where the session reaches the rest of the program. All must outlive it.
  struct Ends {
    LinkView& view;
    LinkHost& host;
    ApplyHost& apply_host;
    ProfileStoreWriter& store;
    // The program's page keeps the user's edits: every apply request also
    // saves the store at once, off the calling thread, whether or not a link
    // takes the apply, and the session asks for an apply by itself when a
    // link can take edits that wait. ms1ctl sends the one profile it is
    // given, when it asks.
    bool keeps_edits = false;
  };
  using ReportTrace = std::function<void(const Report& report, const SendOutcome& outcome)>;

  // `pacer` paces the reports (real pauses when null); it must outlive the session.
  explicit DeviceSession(Ends ends, Pacer* pacer = nullptr);
  // Stop().
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Which links a session may use: all of them in the program; ms1ctl may
  // pick one.
  struct Links {
    bool wired = true;
    bool receiver = true;
    bool bluetooth = true;
  };

  // Starts the worker, loads the driver libraries from `driver_folder`,
  // detects the links (`probe_bluetooth` tells whether the mouse's Bluetooth
  // LE node is there; BlueZ is asked too) and posts msg::kDevicePresence; from
  // then on the transport has its link ends. Interface thread, once.
  void Start(const std::string& driver_folder, Ms1WindowHandle window,
             std::function<bool()> probe_bluetooth = ProbeBluetoothMouse);
  void Start(const std::string& driver_folder, Ms1WindowHandle window,
             std::function<bool()> probe_bluetooth, Links links);

  // Closes both drivers, lets the worker end (an apply in progress, with
  // nothing left to send to, ends at its next report), then unloads the
  // libraries; when it keeps edits, what changed since the last save is then
  // saved. Pauses, retries and a call waiting for BlueZ end at once, so only
  // a driver call under way is waited for. Interface thread; once or more.
  void Stop();

  // The wired and receiver plug and data messages. Interface thread.
  void OnLinkMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void OnHeartbeatTimeout();
  void OnBluetoothLink(bool connected);
  // Waits until the Bluetooth LE calls asked for so far are made (the
  // subscription of a connection, say): for ms1ctl, which has no window to
  // keep answering.
  void WaitForBluetoothCalls() { gatt_.WaitForQueuedCalls(); }
  // One tick of the charging animation.
  void OnChargeTimer() { charge_.Tick(); }

  // The udev watch of hidraw nodes for the Bluetooth LE link: its descriptor,
  // or -1 when udev is out of reach. Call OnBluetoothNodes when it is readable.
  int WatchBluetoothNodes();
  void OnBluetoothNodes();

  // A link became usable, or the profiles were loaded with a link there:
  // requests an apply if the mouse may not hold what it shows (when the
  // session keeps edits).
  void SendWhatWaits();

  // The one way to the mouse for an edit, whoever asks (the page's controls,
  // its debounce, the mouse waking, a link arriving): notes that an apply is
  // wanted (so saves mark the edits unsent until one sends them), saves the
  // store when the session keeps edits, and queues one apply (TM_APPLY) for
  // the worker. Any thread.
  void RequestApply();

  // Called for every report an apply hands on, on the worker thread. Set
  // before Start.
  void SetReportTrace(ReportTrace trace) { sender_.trace = std::move(trace); }
  // Called on the interface thread for what comes over Bluetooth LE: the
  // mouse connecting or going away as a plug event (event::kPlug), and every
  // notification that carries an event, before it is handled. Set before Start.
  void SetBluetoothTrace(std::function<void(DeviceEvent)> trace) {
    bluetooth_trace_ = std::move(trace);
  }

  LinkState& links() { return links_; }
  const LinkState& links() const { return links_; }
  PageModel& model() { return model_; }
  const PageModel& model() const { return model_; }
  // The last battery level the mouse reported (1 to 10, tenths), 0 before
  // any; and whether the wired link shows the mouse charging. Interface thread.
  int battery_level() const { return events_.battery_level(); }
  bool charging() const { return charge_.running(); }
  const FeatureDrivers& drivers() const { return drivers_; }
  ReportTransport& transport() { return transport_; }

 private:
  // The engine's way to the transport, keeping each report's outcome in view.
  struct TracingSender final : ReportSender {
    explicit TracingSender(ReportTransport& t) : transport(t) {}
    SendOutcome Send(const uint8_t* report, int length) override;
    ReportTransport& transport;
    ReportTrace trace;
  };

  Ends ends_;
  RealPacer real_pacer_;
  Pacer& pacer_;
  LinkState links_;
  PageModel model_;
  FeatureDrivers drivers_;
  ChargeDisplay charge_;
  ReportTransport transport_;
  TracingSender sender_{transport_};
  ApplyEngine engine_;
  PageWorker worker_;
  std::unique_ptr<StoreSaver> saver_;  // when it keeps edits
  DeviceEventHandler events_;
  void OnBluetoothNotification(std::span<const uint8_t> value);
  void OnBluetoothConnection(bool connected);
  void TracePlug(bool connected);

  std::function<void(DeviceEvent)> bluetooth_trace_;
  GattTransport gatt_;
  std::unique_ptr<ConnectionManager> manager_;
  std::unique_ptr<HidrawMonitor> hidraw_;
  bool started_ = false;
  bool stopped_ = false;
};

}  // namespace ms1
