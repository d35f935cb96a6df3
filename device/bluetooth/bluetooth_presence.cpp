#include "device/bluetooth/bluetooth_presence.h"

#include <hidapi/hidapi.h>

#include <charconv>
#include <cstdio>

#include "model/protocol/link_ids.h"

namespace ms1 {

namespace {

std::optional<unsigned long> HexField(std::string_view text) {
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

bool IsMouseBluetoothHidId(std::string_view hid_id) {
  const auto first = hid_id.find(':');
  const auto second = first == std::string_view::npos ? first : hid_id.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  const auto bus = HexField(hid_id.substr(0, first));
  const auto vendor = HexField(hid_id.substr(first + 1, second - first - 1));
  const auto product = HexField(hid_id.substr(second + 1));
  return bus == link_ids::kBluetoothBus && vendor == link_ids::kBluetoothVendor &&
         product == link_ids::kBluetoothProduct;
}

bool ListHasBluetoothMouse(const hid_device_info* list) {
  for (const hid_device_info* d = list; d != nullptr; d = d->next) {
    if (d->bus_type == HID_API_BUS_BLUETOOTH && d->vendor_id == link_ids::kBluetoothVendor &&
        d->product_id == link_ids::kBluetoothProduct) {
      return true;
    }
  }
  return false;
}

bool ProbeBluetoothMouse() {
  if (hid_init() != 0) return false;
  hid_device_info* list = hid_enumerate(link_ids::kBluetoothVendor, link_ids::kBluetoothProduct);
  const bool present = ListHasBluetoothMouse(list);
  hid_free_enumeration(list);
  return present;
}

std::optional<LinkChange> BluetoothNodeTracker::OnHidraw(std::string_view action,
                                                         const std::string& syspath,
                                                         std::string_view hid_id) {
  if (action == "add" && IsMouseBluetoothHidId(hid_id)) {
    mouse_nodes_.insert(syspath);
    return LinkChange::kArrived;
  }
  if (action == "remove" && mouse_nodes_.erase(syspath) > 0) return LinkChange::kRemoved;
  return std::nullopt;
}

HidrawMonitor::HidrawMonitor() {
  // Nodes present at start are known to the tracker, so their removal is seen.
  if (!hidraw_.ok()) return;
  for (const HidrawNode& node : hidraw_.PresentNodes()) {
    tracker_.OnHidraw("add", node.syspath, node.hid_id);
  }
}

std::optional<LinkChange> HidrawMonitor::ReadChange() {
  const std::optional<HidrawChange> read = hidraw_.ReadChange();
  if (!read) return std::nullopt;
  const std::string& syspath = read->node.syspath;
  std::optional<LinkChange> change;
  if (!read->action.empty() && !syspath.empty()) {
    change = tracker_.OnHidraw(read->action, syspath, read->node.hid_id);
  }
  if (read->action == "add") {
    std::printf("DBT_DEVICEARRIVAL.\n");
    if (!syspath.empty()) std::printf("%s\r\n", syspath.c_str());
  }
  return change;
}

}  // namespace ms1
