#include "device/bluetooth/gatt_transport.h"

#include <systemd/sd-bus.h>

#include <cstdio>

#include "device/bluetooth/bluez_calls.h"
#include "device/trace_output.h"

namespace ms1 {

namespace {

// Signals of BlueZ that may change what is connected or carry a notification.
constexpr const char* kPropertiesRule =
    "type='signal',sender='org.bluez',interface='org.freedesktop.DBus.Properties',"
    "member='PropertiesChanged'";
constexpr const char* kObjectsRule =
    "type='signal',sender='org.bluez',interface='org.freedesktop.DBus.ObjectManager'";
// BlueZ starting or ending.
constexpr const char* kOwnerRule =
    "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
    "member='NameOwnerChanged',arg0='org.bluez'";

}  // namespace

// Friend of the transport: sd-bus wants plain function pointers.
struct GattSignals {
  static int OnPropertiesChanged(sd_bus_message* m, void* self, sd_bus_error*) {
    auto* transport = static_cast<GattTransport*>(self);
    const auto change = ReadPropertiesChanged(m);
    if (!change) return 0;
    const char* path = sd_bus_message_get_path(m);
    if (change->value && path != nullptr && transport->subscribed_.count(path) != 0 &&
        transport->callbacks_.notification) {
      transport->callbacks_.notification(*change->value);
    }
    if (change->connection) transport->Rescan(sd_bus_message_get_bus(m));
    return 0;
  }

  static int OnObjectsChanged(sd_bus_message* m, void* self, sd_bus_error*) {
    static_cast<GattTransport*>(self)->Rescan(sd_bus_message_get_bus(m));
    return 0;
  }
};

bool GattTransport::Start() {
  return bus_.Start([this](sd_bus* bus) { Follow(bus); }) && mouse_connected_;
}

void GattTransport::Follow(sd_bus* bus) {
  sd_bus_add_match(bus, nullptr, kPropertiesRule, &GattSignals::OnPropertiesChanged, this);
  sd_bus_add_match(bus, nullptr, kObjectsRule, &GattSignals::OnObjectsChanged, this);
  sd_bus_add_match(bus, nullptr, kOwnerRule, &GattSignals::OnObjectsChanged, this);
  BluezObjects objects;
  ReadBluezObjects(bus, objects);
  mouse_connected_ = MouseConnected(objects);
}

void GattTransport::Connect(std::string_view vendor_match, std::string_view product_match) {
  bus_.Post([this, vendor = std::string(vendor_match),
             product = std::string(product_match)](sd_bus* bus) {
    vendor_filter_ = vendor;
    product_filter_ = product;
    Subscribe(bus);
  });
}

void GattTransport::Disconnect() {
  // Subscriptions stay: the next connection subscribes again, and a
  // characteristic is taken once however often it was subscribed.
  bus_.Post([this](sd_bus*) {
    vendor_filter_.clear();
    product_filter_.clear();
  });
}

void GattTransport::AfterQueuedCalls(std::function<void()> then) {
  bus_.Post([then = std::move(then)](sd_bus*) { then(); });
}

void GattTransport::WaitForQueuedCalls() {
  bus_.Run([](sd_bus*) {});
}

int GattTransport::WriteReport(const uint8_t* report, int length) {
  if (report == nullptr || length <= 0) return 0;
  int result = 0;
  bus_.Run([&](sd_bus* bus) { result = Write(bus, {report, static_cast<std::size_t>(length)}); });
  return result;
}

void GattTransport::Subscribe(sd_bus* bus) {
  if (FiltersEmpty()) return;
  BluezObjects objects;
  ReadBluezObjects(bus, objects);
  device_list_ = ConnectedDeviceList(objects);
  int services = 0;
  for (const std::string& service :
       SelectServices(objects, vendor_filter_, product_filter_, device_list_)) {
    ++services;
    const unsigned handle = ObjectHandle(service);
    for (const std::string& characteristic :
         ServiceCharacteristics(objects, service, bluez::kNotifyUuid, bluez::kNotifyFlag)) {
      Trace("%s\r\n", characteristic.c_str());
      const int r = StartNotify(bus, characteristic);
      if (r >= 0) {
        Trace("setting notification for service handle %x\n", handle);
      } else {
        Trace("BluetoothGATTGetDescriptorValue - Actual Data %x\r\n", -r);
      }
      Trace("Setting Notification for ServiceHandle %d\n", handle);
      subscribed_.insert(characteristic);
    }
  }
  std::fprintf(stderr, "iIdnex = %d\r\n", services);
}

int GattTransport::Write(sd_bus* bus, std::span<const uint8_t> report) {
  if (FiltersEmpty()) return 0;
  BluezObjects objects;
  if (ReadBluezObjects(bus, objects) < 0) return 0;
  int result = 0;
  for (const std::string& service :
       SelectServices(objects, vendor_filter_, product_filter_, device_list_)) {
    for (const std::string& characteristic :
         ServiceCharacteristics(objects, service, bluez::kWriteUuid, bluez::kWriteFlag)) {
      Trace("%s\r\n", characteristic.c_str());
      Trace("Value Add: %p\r\n", static_cast<const void*>(report.data()));
      result = WriteCharacteristic(bus, characteristic, report) >= 0 ? 1 : 0;
      Trace("%s", result ? "Write Success!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\r\n"
                         : "Write fail!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\r\n");
      if (result == 1) break;
    }
    if (result == 1) break;
  }
  return result;
}

void GattTransport::Rescan(sd_bus* bus) {
  BluezObjects objects;
  ReadBluezObjects(bus, objects);  // BlueZ gone: nothing is connected
  const bool connected = MouseConnected(objects);
  if (connected == mouse_connected_) return;
  mouse_connected_ = connected;
  if (connected) Trace("DBT_DEVICEARRIVAL.\n");
  if (callbacks_.connection) callbacks_.connection(connected);
}

}  // namespace ms1
