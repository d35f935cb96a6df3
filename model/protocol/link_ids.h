// How the system names the mouse on each of its three links. The wired and
// receiver ids are what the program gives the driver libraries; over
// Bluetooth LE the mouse appears as a HID device on the Bluetooth bus.
#pragma once

#include <cstdint>

namespace ms1::link_ids {

inline constexpr int32_t kVendor = 0x1D57;
inline constexpr int32_t kWiredProduct = 0xFA61;
inline constexpr int32_t kReceiverProduct = 0xFA60;
inline constexpr uint16_t kBluetoothVendor = 0x045E;
inline constexpr uint16_t kBluetoothProduct = 0x0040;
// The bus number Linux gives Bluetooth in a HID id (BUS_BLUETOOTH).
inline constexpr uint16_t kBluetoothBus = 0x0005;

}  // namespace ms1::link_ids
