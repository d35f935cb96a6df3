#include "bench/soak_driver/mouse_steering.h"

#include "support/qt_wait.h"

namespace ms1::soak {

namespace {
// A plug arrival costs the page a one-second pause, Bluetooth LE a round over D-Bus.
constexpr int kFollowTimeoutMs = 15000;
}  // namespace

bool MouseSteering::Connect() {
  control_ = vmouse::ConnectToSimulator(vmouse::InstanceDir());
  return control_ != nullptr;
}

nlohmann::json MouseSteering::Request(const std::string& line) {
  if (!control_) return nullptr;
  return control_->Request(line);
}

std::vector<ConnectionMode> MouseSteering::Links() const {
  if (bluetooth_) return {kAllLinks.begin(), kAllLinks.end()};
  return {ConnectionMode::kWired, ConnectionMode::kReceiver};
}

bool MouseSteering::Plugged(ConnectionMode link) {
  return State().value(nlohmann::json::json_pointer(std::string("/plugged/") + LinkName(link)),
                       false);
}

bool MouseSteering::AnyPlugged() {
  for (const ConnectionMode link : Links()) {
    if (Plugged(link)) return true;
  }
  return false;
}

bool MouseSteering::PageSees(ConnectionMode link) {
  const LinkState& links = page_.page().links();
  switch (link) {
    case ConnectionMode::kWired:
      return links.wiredState.load() == link_presence::kPresent;
    case ConnectionMode::kReceiver:
      return links.receiverState.load() == link_presence::kPresent;
    case ConnectionMode::kBluetooth:
      return links.bleConnected.load() != 0;
  }
  return false;
}

bool MouseSteering::SetPlugged(ConnectionMode link, bool plugged) {
  Request(std::string(plugged ? "plug " : "unplug ") + LinkName(link));
  return test::WaitFor([&] { return PageSees(link) == plugged; }, kFollowTimeoutMs);
}

}  // namespace ms1::soak
