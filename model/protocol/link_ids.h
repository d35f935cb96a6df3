// The mouse's three links: what they are called and how the system names the
// mouse on each. The wired and receiver ids are what the program gives the
// driver libraries; over Bluetooth LE the mouse appears as a HID device on the
// Bluetooth bus.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ms1 {

// The three links; there is no single "current" one, the transport chooses
// per report.
enum class ConnectionMode { kWired, kReceiver, kBluetooth };
inline constexpr int kLinkCount = 3;
// Every link, in the order they are listed everywhere.
inline constexpr std::array<ConnectionMode, kLinkCount> kAllLinks = {
    ConnectionMode::kWired, ConnectionMode::kReceiver, ConnectionMode::kBluetooth};

// A link's name in ms1ctl's arguments and output and in the virtual mouse's
// requests and JSON: "wired", "receiver", "ble".
const char* LinkName(ConnectionMode link);
// The link a report went over, as `ms1ctl apply` prints it: "wired",
// "receiver", "bluetooth".
const char* ConnectionModeName(ConnectionMode link);
// The link of a name LinkName gives.
std::optional<ConnectionMode> ParseLink(std::string_view name);

namespace link_ids {

inline constexpr int32_t kVendor = 0x1D57;
inline constexpr int32_t kWiredProduct = 0xFA61;
inline constexpr int32_t kReceiverProduct = 0xFA60;
inline constexpr uint16_t kBluetoothVendor = 0x045E;
inline constexpr uint16_t kBluetoothProduct = 0x0040;
// The bus numbers Linux gives USB and Bluetooth in a HID id (BUS_USB, BUS_BLUETOOTH).
inline constexpr uint16_t kUsbBus = 0x0003;
inline constexpr uint16_t kBluetoothBus = 0x0005;

// The link a driver library serves, from the ids the program gives Set_VIDPID.
std::optional<ConnectionMode> LinkForDriverIds(int32_t vendor_id, int32_t product_id);
// The link of a HID device, from the bus and ids of its HID_ID.
std::optional<ConnectionMode> LinkForHidId(uint16_t bus, uint16_t vendor_id, uint16_t product_id);
// An id as four upper-case hex digits ("045E"), as names and modaliases carry it.
std::string IdText(uint16_t id);

}  // namespace link_ids
}  // namespace ms1
