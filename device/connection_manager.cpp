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
  OnDriverLink(ConnectionMode::kWired, e);
}

void ConnectionManager::OnReceiverLink(DeviceEvent e) {
  OnDriverLink(ConnectionMode::kReceiver, e);
}

void ConnectionManager::OnDriverLink(ConnectionMode link, DeviceEvent e) {
  if (e.code == event::kPlug) {
    if (e.value == event::kPlugArrived && StateOf(link) != link_presence::kPresent) {
      AfterSettling(link);
    }
    if (e.value == event::kPlugRemoved) Removed(link);
  } else if (IsDeviceEventCode(e.code)) {
    device_event_(e);
  }
}

// The mouse needs a moment after an arrival before it takes reports. The
// interface thread goes on meanwhile; a second arrival during the wait is the
// same arrival.
void ConnectionManager::AfterSettling(ConnectionMode link) {
  Settling& settling = settling_[static_cast<std::size_t>(link)];
  if (stopped_ || settling.pending) return;
  settling.pending = true;
  const int generation = ++settling.generation;
  host_.RunLater(kArrivalSettle,
                 [this, alive = std::weak_ptr<char>(alive_), &settling, generation, link] {
                   if (alive.expired() || stopped_) return;
                   if (!settling.pending || settling.generation != generation) return;
                   settling.pending = false;
                   Arrived(link);
                 });
}

void ConnectionManager::Stop() {
  stopped_ = true;
}

// The cable and the receiver arrive once settled and not again while present;
// Bluetooth LE connects again each time it is told to.
void ConnectionManager::Arrived(ConnectionMode link) {
  using enum ConnectionMode;
  std::atomic<int>& state = StateOf(link);
  if (link != kBluetooth && state == link_presence::kPresent) return;
  // The cable is opened before it counts as present: an apply running now
  // would otherwise send to a closed device.
  if (DriverLibrary* wired = link == kWired ? DriverOf(link) : nullptr) wired->OpenFeatureDevice();
  const bool newly = state.exchange(link_presence::kPresent) != link_presence::kPresent;
  if (link == kBluetooth) bluetooth_.Connect(kBluetoothVendorMatch, kBluetoothProductMatch);
  if (link != kReceiver) {  // the receiver waits for the mouse to tell it is awake
    links_.mouseAsleep = 0;
    view_.ShowSleepLabel(false);
  }
  view_.ShowLinkIcon(link, true);
  RefreshLinkPanels(links_, view_);
  if (link == kWired) charge_.Start();
  if (link == kReceiver) {
    if (DriverLibrary* receiver = DriverOf(link)) receiver->OpenFeatureDevice();
    host_.StartTimer(timer::kReceiverHeartbeat, period::kReceiverHeartbeat);
  }
  if (link == kBluetooth && newly) TellLinkUsable();
  if (!OtherLinkPresent(link)) SetPresence(true);
  // Over the receiver an apply now waits for the mouse's first status if it sleeps.
  if (link != kBluetooth) TellLinkUsable();
}

// A repeated removal of the cable or the receiver does nothing; Bluetooth LE
// is let go again each time.
void ConnectionManager::Removed(ConnectionMode link) {
  using enum ConnectionMode;
  std::atomic<int>& state = StateOf(link);
  if (link != kBluetooth) {
    // A link pulled before it settled never arrived.
    settling_[static_cast<std::size_t>(link)].pending = false;
    if (state == link_presence::kRemoved) return;
  }
  state = link == kBluetooth ? 0 : link_presence::kRemoved;
  if (link == kWired) {
    if (DriverLibrary* wired = DriverOf(link)) wired->CloseFeatureDevice();
    links_.mouseAsleep = 1;
    view_.ShowSleepLabel(true);
  }
  if (link == kBluetooth) bluetooth_.Disconnect();
  view_.ShowLinkIcon(link, false);
  if (DriverLibrary* receiver = link == kReceiver ? DriverOf(link) : nullptr) {
    receiver->CloseFeatureDevice();
  }
  if (link == kBluetooth) {
    if (links_.receiverAwake == 0 && links_.wiredState != link_presence::kPresent) {
      view_.ShowSleepLabel(true);
    }
  } else {
    RefreshLinkPanels(links_, view_);
  }
  if (link == kWired) charge_.Stop();
  if (link == kReceiver) host_.StopTimer(timer::kReceiverHeartbeat);
  if (!OtherLinkPresent(link)) SetPresence(false);
}

std::atomic<int>& ConnectionManager::StateOf(ConnectionMode link) {
  if (link == ConnectionMode::kWired) return links_.wiredState;
  if (link == ConnectionMode::kReceiver) return links_.receiverState;
  return links_.bleConnected;
}

DriverLibrary* ConnectionManager::DriverOf(ConnectionMode link) const {
  return link == ConnectionMode::kWired ? drivers_.wired() : drivers_.receiver();
}

bool ConnectionManager::OtherLinkPresent(ConnectionMode link) const {
  using enum ConnectionMode;
  return (link != kWired && links_.wiredState == link_presence::kPresent) ||
         (link != kReceiver && links_.receiverState == link_presence::kPresent) ||
         (link != kBluetooth && links_.bleConnected != 0);
}

void ConnectionManager::OnHeartbeatTimeout() {
  host_.StopTimer(timer::kReceiverHeartbeat);
  links_.receiverAwake = 0;
  view_.ShowLinkIcon(ConnectionMode::kReceiver, false);
  RefreshLinkPanels(links_, view_);
  if (SleepLabelWanted(links_)) view_.ShowSleepLabel(true);
}

void ConnectionManager::OnBluetoothLink(bool connected) {
  if (connected) {
    Arrived(ConnectionMode::kBluetooth);
  } else {
    Removed(ConnectionMode::kBluetooth);
  }
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
