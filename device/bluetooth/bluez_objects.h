// The BlueZ objects the Bluetooth LE transport looks at, as BlueZ lists them
// (org.freedesktop.DBus.ObjectManager), and the rules that pick the mouse's
// GATT services and characteristics out of them. No D-Bus here.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ms1 {

namespace bluez {
inline constexpr std::string_view kService = "org.bluez";
inline constexpr std::string_view kDevice = "org.bluez.Device1";
inline constexpr std::string_view kGattService = "org.bluez.GattService1";
inline constexpr std::string_view kGattCharacteristic = "org.bluez.GattCharacteristic1";
// Reports are written to the first, events arrive as notifications of the second.
inline constexpr std::string_view kWriteUuid = "0000fee3-0000-1000-8000-00805f9b34fb";
inline constexpr std::string_view kNotifyUuid = "0000fee4-0000-1000-8000-00805f9b34fb";
inline constexpr std::string_view kWriteFlag = "write";
inline constexpr std::string_view kNotifyFlag = "notify";
// The connected-device list holds at most this many devices.
inline constexpr std::size_t kDeviceListLimit = 100;
}  // namespace bluez

struct BluezDevice {
  std::string modalias;
  bool connected = false;
};

struct BluezCharacteristic {
  std::string uuid;
  std::vector<std::string> flags;
};

struct BluezObject {
  std::optional<BluezDevice> device;
  bool gatt_service = false;
  std::optional<BluezCharacteristic> characteristic;
};

// By object path; a std::map keeps them in path order, the order BlueZ gives
// its services (named by handle, "service000a").
using BluezObjects = std::map<std::string, BluezObject>;

// The device's name as a device interface of its vendor and product, e.g.
// "VID&02045e_PID&0040_REV&0001" for "usb:v045Ep0040d0001": the vendor id
// source comes first (01 Bluetooth SIG, 02 USB), the hex digits in lower case.
// Empty for a device without a modalias of either source.
std::string DeviceInterfaceName(std::string_view modalias);

// The mouse as a device-change notification recognises it: the exact,
// case-sensitive vendor and product pieces.
bool IsMouseInterfaceName(std::string_view name);

// Some connected device is the mouse.
bool MouseConnected(const BluezObjects& objects);

// The paths of the connected devices, in path order, at most 100.
std::vector<std::string> ConnectedDeviceList(const BluezObjects& objects);

// The GATT services, in path order, of devices on `device_list` whose
// upper-cased interface name contains both filters.
std::vector<std::string> SelectServices(const BluezObjects& objects, std::string_view vendor_filter,
                                        std::string_view product_filter,
                                        const std::vector<std::string>& device_list);

// The characteristics of `service` with that UUID which carry `flag`.
std::vector<std::string> ServiceCharacteristics(const BluezObjects& objects,
                                                std::string_view service, std::string_view uuid,
                                                std::string_view flag);

// The handle BlueZ names a service or characteristic by ("service0010" is
// 0x10); 0 when the path does not end in one.
unsigned ObjectHandle(std::string_view path);

}  // namespace ms1
