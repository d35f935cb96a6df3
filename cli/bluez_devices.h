// What BlueZ knows of the mouse, asked on the system bus with busctl (which,
// like the program, honours DBUS_SYSTEM_BUS_ADDRESS). Self-contained: the
// program's own Bluetooth LE link does not take part.
#pragma once

#include <optional>
#include <string>

namespace ms1::cli {

struct BluezMouse {
  bool reachable = false;  // org.bluez answered
  bool known = false;      // a Device1 with the mouse's ids
  bool paired = false;
  bool connected = false;
  std::string address;
  std::string error;  // why BlueZ did not answer
};

// From the JSON of `busctl --json=short call org.bluez /
// org.freedesktop.DBus.ObjectManager GetManagedObjects`; the mouse is the
// Device1 whose Modalias names vendor 045E, product 0040.
BluezMouse BluezMouseFromManagedObjects(const std::string& busctl_json);

BluezMouse AskBluez();

}  // namespace ms1::cli
