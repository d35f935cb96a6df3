// The BlueZ calls of the Bluetooth LE transport over sd-bus, and the reading
// of the signals it follows. Bus thread only (see BusThread).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/bluetooth/bluez_objects.h"

struct sd_bus;
struct sd_bus_message;

namespace ms1 {

// GetManagedObjects of BlueZ: the adapters, devices, services and
// characteristics it knows. A negative errno when BlueZ did not answer (no
// org.bluez on the bus counts as none).
int ReadBluezObjects(sd_bus* bus, BluezObjects& objects);

// WriteValue with the bytes as they are, as a write with response. Negative on failure.
int WriteCharacteristic(sd_bus* bus, const std::string& path, std::span<const uint8_t> value);

// StartNotify of one characteristic. Negative on failure.
int StartNotify(sd_bus* bus, const std::string& path);

// What a PropertiesChanged signal of BlueZ says that matters here.
struct BluezChange {
  std::string interface;
  std::optional<std::vector<uint8_t>> value;  // a characteristic's new Value
  bool connection = false;                    // a device's Connected changed
};
std::optional<BluezChange> ReadPropertiesChanged(sd_bus_message* signal);

}  // namespace ms1
