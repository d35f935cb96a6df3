#include "device/device_session.h"

#include "device/messages.h"

namespace ms1 {

SendOutcome DeviceSession::TracingSender::Send(const uint8_t* report, int length) {
  const SendOutcome outcome = transport.Send(report, length);
  if (trace) trace(Report(report, report + length), outcome);
  return outcome;
}

DeviceSession::DeviceSession(Ends ends, Pacer* pacer)
    : ends_(ends),
      pacer_(pacer != nullptr ? *pacer : real_pacer_),
      charge_(ends.view),
      transport_(links_, pacer_),
      engine_(model_, links_, sender_, ends.apply_host, ends.store),
      worker_(
          links_, [this] { return engine_.ApplyConfiguration(); },
          [this] { engine_.NoteNoLink(); }),
      saver_(ends.keeps_edits ? std::make_unique<StoreSaver>(model_, ends.store) : nullptr),
      events_(
          model_, links_, ends.view, ends.host, ends.store,
          [this] {
            if (ends_.keeps_edits) RequestApply();
          },
          [this] { engine_.RefreshUnsentNotice(); }),
      gatt_({[this](std::span<const uint8_t> value) { OnBluetoothNotification(value); },
             [this](bool connected) { OnBluetoothConnection(connected); }}) {}

DeviceSession::~DeviceSession() {
  Stop();
}

void DeviceSession::Start(const std::string& driver_folder, Ms1WindowHandle window,
                          std::function<bool()> probe_bluetooth) {
  Start(driver_folder, window, std::move(probe_bluetooth), Links{});
}

void DeviceSession::Start(const std::string& driver_folder, Ms1WindowHandle window,
                          std::function<bool()> probe_bluetooth, Links use) {
  if (started_ || stopped_) return;
  started_ = true;
  worker_.Start();
  // BlueZ tells of the mouse as well as its hidraw node does.
  const bool bluez_mouse = use.bluetooth && gatt_.Start();
  auto probe = [use, bluez_mouse, probe_node = std::move(probe_bluetooth)] {
    return use.bluetooth && (bluez_mouse || probe_node());
  };
  manager_ = std::make_unique<ConnectionManager>(
      links_, drivers_, ends_.view, ends_.host, charge_, gatt_,
      [this](DeviceEvent e) { events_.HandleDeviceEvent(e); }, std::move(probe),
      [this] { SendWhatWaits(); });
  manager_->Start(driver_folder, window, use.wired, use.receiver);
  transport_.SetWired(drivers_.wired());
  transport_.SetReceiver(drivers_.receiver());
  transport_.SetBluetooth(&gatt_);
}

void DeviceSession::OnBluetoothNotification(std::span<const uint8_t> value) {
  if (bluetooth_trace_) {
    if (const auto e = ParseBluetoothNotification(value)) {
      ends_.host.RunOnInterfaceThread([this, e = *e] { bluetooth_trace_(e); });
    }
  }
  events_.OnBluetoothNotification(value);
}

void DeviceSession::OnBluetoothConnection(bool connected) {
  ends_.host.RunOnInterfaceThread([this, connected] {
    if (!manager_ || stopped_) return;
    manager_->OnBluetoothChange(connected ? LinkChange::kArrived : LinkChange::kRemoved);
    // Told once the link is taken in hand: subscribed when it arrived.
    if (bluetooth_trace_) gatt_.AfterQueuedCalls([this, connected] { TracePlug(connected); });
  });
}

void DeviceSession::TracePlug(bool connected) {
  ends_.host.RunOnInterfaceThread([this, connected] {
    if (!stopped_) bluetooth_trace_(PlugEvent(connected ? 1 : 0));
  });
}

void DeviceSession::Stop() {
  if (stopped_) return;
  stopped_ = true;
  hidraw_.reset();
  if (manager_) manager_->Stop();
  // No link carries a report from here: queued applies are dropped, and a
  // running one stops retrying and pausing and ends at its next report.
  links_.wiredState = link_presence::kRemoved;
  links_.receiverState = link_presence::kRemoved;
  links_.bleConnected = 0;
  real_pacer_.Stop();
  // No more notifications or connection changes; a write waiting for BlueZ
  // fails at once and later ones return 0.
  gatt_.Stop();
  drivers_.CloseAll();
  worker_.Stop();
  // With the applies ended, the last edits (applies dropped unstarted, a save
  // still waiting) reach the disk.
  if (saver_) saver_->Finish();
  transport_.SetWired(nullptr);
  transport_.SetReceiver(nullptr);
  transport_.SetBluetooth(nullptr);
  drivers_.Unload();
}

void DeviceSession::OnLinkMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!manager_ || stopped_) return;
  switch (message) {
    case msg::kWiredPlug: manager_->OnWiredLink(PlugEvent(wParam)); break;
    case msg::kWiredEvent: manager_->OnWiredLink(DataEvent(wParam, lParam)); break;
    case msg::kReceiverPlug: manager_->OnReceiverLink(PlugEvent(wParam)); break;
    case msg::kReceiverEvent: manager_->OnReceiverLink(DataEvent(wParam, lParam)); break;
    default: break;
  }
}

void DeviceSession::OnHeartbeatTimeout() {
  if (manager_) manager_->OnHeartbeatTimeout();
}

void DeviceSession::OnBluetoothLink(bool connected) {
  if (manager_) manager_->OnBluetoothLink(connected);
}

int DeviceSession::WatchBluetoothNodes() {
  if (!hidraw_) hidraw_ = std::make_unique<HidrawMonitor>();  // one watch for the session
  return hidraw_->ok() ? hidraw_->fd() : -1;
}

void DeviceSession::OnBluetoothNodes() {
  if (!hidraw_ || !manager_) return;
  if (const auto change = hidraw_->ReadChange()) manager_->OnBluetoothChange(*change);
}

void DeviceSession::SendWhatWaits() {
  if (ends_.keeps_edits && model_.MayHaveUnsentEdits()) RequestApply();
}

void DeviceSession::RequestApply() {
  model_.NoteApplyWanted();
  if (saver_) saver_->Request();
  worker_.Post(TM_APPLY);
}

}  // namespace ms1
