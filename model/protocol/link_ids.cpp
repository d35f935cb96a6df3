#include "model/protocol/link_ids.h"

#include <cstdio>

namespace ms1 {

namespace {

// Each link's two names, in the order of the enum.
struct LinkNames {
  const char* name;
  const char* mode_name;
};
constexpr std::array<LinkNames, kLinkCount> kLinkNames = {{
    {"wired", "wired"},
    {"receiver", "receiver"},
    {"ble", "bluetooth"},
}};

const LinkNames& NamesOf(ConnectionMode link) {
  return kLinkNames[static_cast<std::size_t>(link)];
}

}  // namespace

const char* LinkName(ConnectionMode link) {
  return NamesOf(link).name;
}

const char* ConnectionModeName(ConnectionMode link) {
  return NamesOf(link).mode_name;
}

std::optional<ConnectionMode> ParseLink(std::string_view name) {
  for (ConnectionMode link : kAllLinks) {
    if (name == LinkName(link)) return link;
  }
  return std::nullopt;
}

namespace link_ids {

std::optional<ConnectionMode> LinkForDriverIds(int32_t vendor_id, int32_t product_id) {
  if (vendor_id != kVendor) return std::nullopt;
  if (product_id == kWiredProduct) return ConnectionMode::kWired;
  if (product_id == kReceiverProduct) return ConnectionMode::kReceiver;
  return std::nullopt;
}

std::optional<ConnectionMode> LinkForHidId(uint16_t bus, uint16_t vendor_id, uint16_t product_id) {
  if (bus == kUsbBus) return LinkForDriverIds(vendor_id, product_id);
  if (bus == kBluetoothBus && vendor_id == kBluetoothVendor && product_id == kBluetoothProduct) {
    return ConnectionMode::kBluetooth;
  }
  return std::nullopt;
}

std::string IdText(uint16_t id) {
  char text[5];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(id));
  return text;
}

}  // namespace link_ids
}  // namespace ms1
