#include "device/connection_manager.h"

#include "device/link_panels.h"
#include "device/messages.h"

namespace ms1 {

namespace {

constexpr std::chrono::milliseconds kArrivalSettle{1000};

bool IsDeviceEventCode(uint16_t code) {
  return code >= event::kFirstDeviceCode && code <= event::kLastDeviceCode;
}

}  // namespace

ConnectionManager::ConnectionManager(LinkState& links, FeatureDrivers& drivers, LinkView& view,
                                     LinkHost& host, ChargeDisplay& charge,
                                     BluetoothControl& bluetooth,
                                     std::function<void(DeviceEvent)> device_event,
                                     std::function<bool()> probe_bluetooth,
                                     std::function<void()> link_usable)
    : links_(links),
      drivers_(drivers),
      view_(view),
      host_(host),
      charge_(charge),
      bluetooth_(bluetooth),
      device_event_(std::move(device_event)),
      probe_bluetooth_(std::move(probe_bluetooth)),
      link_usable_(std::move(link_usable)) {}

void ConnectionManager::Start(const std::string& driver_folder, Ms1WindowHandle window,
                              bool load_wired, bool load_receiver) {
  drivers_.Load(driver_folder, load_wired, load_receiver);

  const bool wired = drivers_.OpenWired(window);
  links_.wiredState = wired ? link_presence::kPresent : link_presence::kNeverSeen;
  links_.mouseAsleep = wired ? 0 : 1;
  view_.ShowSleepLabel(!wired);
  if (wired) charge_.Start();
  view_.ShowLinkIcon(ConnectionMode::kWired, wired);

  const bool receiver = drivers_.OpenReceiver(window);
  links_.receiverState = receiver ? link_presence::kPresent : link_presence::kNeverSeen;
  if (receiver) host_.StartTimer(timer::kReceiverHeartbeat, period::kReceiverHeartbeat);
  view_.ShowLinkIcon(ConnectionMode::kReceiver, receiver);

  links_.bleConnected = probe_bluetooth_() ? 1 : 0;
  SetPresence(wired || receiver || links_.bleConnected != 0);
}

void ConnectionManager::OnWiredLink(DeviceEvent e) {
  if (e.code == event::kPlug) {
    if (e.value == event::kPlugArrived && links_.wiredState != link_presence::kPresent) {
      AfterSettling(wired_settling_, &ConnectionManager::WiredArrived);
    }
    if (e.value == event::kPlugRemoved) WiredRemoved();
  } else if (IsDeviceEventCode(e.code)) {
    device_event_(e);
  }
}

void ConnectionManager::OnReceiverLink(DeviceEvent e) {
  if (e.code == event::kPlug) {
    if (e.value == event::kPlugArrived && links_.receiverState != link_presence::kPresent) {
      AfterSettling(receiver_settling_, &ConnectionManager::ReceiverArrived);
    }
    if (e.value == event::kPlugRemoved) ReceiverRemoved();
  } else if (IsDeviceEventCode(e.code)) {
    device_event_(e);
  }
}

// The mouse needs a moment after an arrival before it takes reports. The
// interface thread goes on meanwhile; a second arrival during the wait is the
// same arrival.
void ConnectionManager::AfterSettling(Settling& settling, void (ConnectionManager::*arrived)()) {
  if (stopped_ || settling.pending) return;
  settling.pending = true;
  const int generation = ++settling.generation;
  host_.RunLater(kArrivalSettle, [this, alive = std::weak_ptr<char>(alive_), &settling,
                                  generation, arrived] {
    if (alive.expired() || stopped_) return;
    if (!settling.pending || settling.generation != generation) return;
    settling.pending = false;
    (this->*arrived)();
  });
}

void ConnectionManager::Stop() {
  stopped_ = true;
}

void ConnectionManager::WiredArrived() {
  if (links_.wiredState == link_presence::kPresent) return;
  // Opened before the link counts as present: an apply running now would
  // otherwise send to a closed device.
  if (DriverLibrary* wired = drivers_.wired()) wired->OpenFeatureDevice();
  links_.wiredState = link_presence::kPresent;
  links_.mouseAsleep = 0;
  view_.ShowSleepLabel(false);
  view_.ShowLinkIcon(ConnectionMode::kWired, true);
  RefreshLinkPanels(links_, view_);
  charge_.Start();
  if (links_.receiverState != link_presence::kPresent && links_.bleConnected == 0) {
    SetPresence(true);
  }
  TellLinkUsable();
}

void ConnectionManager::WiredRemoved() {
  wired_settling_.pending = false;  // a cable pulled before it settled never arrived
  if (links_.wiredState == link_presence::kRemoved) return;
  links_.wiredState = link_presence::kRemoved;
  if (DriverLibrary* wired = drivers_.wired()) wired->CloseFeatureDevice();
  links_.mouseAsleep = 1;
  view_.ShowSleepLabel(true);
  view_.ShowLinkIcon(ConnectionMode::kWired, false);
  RefreshLinkPanels(links_, view_);
  charge_.Stop();
  if (links_.receiverState != link_presence::kPresent && links_.bleConnected == 0) {
    SetPresence(false);
  }
}

void ConnectionManager::ReceiverArrived() {
  if (links_.receiverState == link_presence::kPresent) return;
  links_.receiverState = link_presence::kPresent;
  view_.ShowLinkIcon(ConnectionMode::kReceiver, true);
  RefreshLinkPanels(links_, view_);
  if (DriverLibrary* receiver = drivers_.receiver()) receiver->OpenFeatureDevice();
  host_.StartTimer(timer::kReceiverHeartbeat, period::kReceiverHeartbeat);
  if (links_.wiredState != link_presence::kPresent && links_.bleConnected == 0) {
    SetPresence(true);
  }
  // An apply now waits for the mouse's first status if it sleeps.
  TellLinkUsable();
}

void ConnectionManager::ReceiverRemoved() {
  receiver_settling_.pending = false;
  if (links_.receiverState == link_presence::kRemoved) return;
  links_.receiverState = link_presence::kRemoved;
  view_.ShowLinkIcon(ConnectionMode::kReceiver, false);
  if (DriverLibrary* receiver = drivers_.receiver()) receiver->CloseFeatureDevice();
  RefreshLinkPanels(links_, view_);
  host_.StopTimer(timer::kReceiverHeartbeat);
  if (links_.wiredState != link_presence::kPresent && links_.bleConnected == 0) {
    SetPresence(false);
  }
}

void ConnectionManager::OnHeartbeatTimeout() {
  host_.StopTimer(timer::kReceiverHeartbeat);
  links_.receiverAwake = 0;
  view_.ShowLinkIcon(ConnectionMode::kReceiver, false);
  RefreshLinkPanels(links_, view_);
  if (SleepLabelWanted(links_)) view_.ShowSleepLabel(true);
}

void ConnectionManager::OnBluetoothLink(bool connected) {
  const bool arrived = links_.bleConnected.exchange(connected ? 1 : 0) == 0 && connected;
  const bool others = links_.receiverState == link_presence::kPresent ||
                      links_.wiredState == link_presence::kPresent;
  if (connected) {
    bluetooth_.Connect(kBluetoothVendorMatch, kBluetoothProductMatch);
    links_.mouseAsleep = 0;
    view_.ShowSleepLabel(false);
    view_.ShowLinkIcon(ConnectionMode::kBluetooth, true);
    RefreshLinkPanels(links_, view_);
    if (arrived) TellLinkUsable();
  } else {
    bluetooth_.Disconnect();
    view_.ShowLinkIcon(ConnectionMode::kBluetooth, false);
    if (links_.receiverAwake == 0 && links_.wiredState != link_presence::kPresent) {
      view_.ShowSleepLabel(true);
    }
  }
  if (!others) SetPresence(connected);
}

void ConnectionManager::OnBluetoothChange(LinkChange change) {
  if (change == LinkChange::kArrived && links_.bleConnected == 0) OnBluetoothLink(true);
  if (change == LinkChange::kRemoved) OnBluetoothLink(false);
}

void ConnectionManager::TellLinkUsable() {
  if (link_usable_) link_usable_();
}

void ConnectionManager::SetPresence(bool present) {
  links_.devicePresent = present ? 1 : 0;
  host_.PostToWindow(msg::kDevicePresence, 0, 0);
}


}  // namespace ms1
