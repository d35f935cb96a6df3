#include "device/bluetooth/bluez_calls.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <memory>

namespace ms1 {

namespace {

// A write with response takes a round trip to the mouse; BlueZ answers a lost
// link with an error well within this.
constexpr uint64_t kCallTimeoutUs = 5'000'000;

struct MessageUnref {
  void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

Message NewCall(sd_bus* bus, const char* path, const char* interface, const char* member) {
  sd_bus_message* m = nullptr;
  const std::string service(bluez::kService);
  if (sd_bus_message_new_method_call(bus, &m, service.c_str(), path, interface, member) < 0) {
    return nullptr;
  }
  return Message(m);
}

int Call(sd_bus* bus, const Message& call, Message* reply = nullptr) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* answer = nullptr;
  const int r = sd_bus_call(bus, call.get(), kCallTimeoutUs, &error, &answer);
  sd_bus_error_free(&error);
  if (reply != nullptr) {
    reply->reset(answer);
  } else {
    sd_bus_message_unref(answer);
  }
  return r;
}

// Reads a variant holding `signature` with `read`; skips it otherwise.
template <typename Read>
int ReadVariant(sd_bus_message* m, const char* signature, Read read) {
  const char* contents = nullptr;
  int r = sd_bus_message_peek_type(m, nullptr, &contents);
  if (r < 0) return r;
  if (contents == nullptr || std::strcmp(contents, signature) != 0)
    return sd_bus_message_skip(m, "v");
  if ((r = sd_bus_message_enter_container(m, 'v', signature)) < 0) return r;
  if ((r = read()) < 0) return r;
  return sd_bus_message_exit_container(m);
}

int ReadString(sd_bus_message* m, std::string& out) {
  const char* text = nullptr;
  const int r = sd_bus_message_read(m, "s", &text);
  if (r >= 0) out = text;
  return r;
}

int ReadBool(sd_bus_message* m, bool& out) {
  int flag = 0;
  const int r = sd_bus_message_read(m, "b", &flag);
  if (r >= 0) out = flag != 0;
  return r;
}

int ReadStrings(sd_bus_message* m, std::vector<std::string>& out) {
  char** list = nullptr;
  const int r = sd_bus_message_read_strv(m, &list);
  if (r < 0) return r;
  for (char** item = list; item != nullptr && *item != nullptr; ++item) {
    out.emplace_back(*item);
    free(*item);
  }
  free(list);
  return r;
}

// One property of `interface` into `object`; properties of no interest are skipped.
int ReadProperty(sd_bus_message* m, std::string_view interface, const char* name,
                 BluezObject& object) {
  const std::string_view property = name;
  if (interface == bluez::kDevice && property == "Modalias") {
    return ReadVariant(m, "s", [&] { return ReadString(m, object.device->modalias); });
  }
  if (interface == bluez::kDevice && property == "Connected") {
    return ReadVariant(m, "b", [&] { return ReadBool(m, object.device->connected); });
  }
  if (interface == bluez::kGattCharacteristic && property == "UUID") {
    return ReadVariant(m, "s", [&] { return ReadString(m, object.characteristic->uuid); });
  }
  if (interface == bluez::kGattCharacteristic && property == "Flags") {
    return ReadVariant(m, "as", [&] { return ReadStrings(m, object.characteristic->flags); });
  }
  return sd_bus_message_skip(m, "v");
}

// a{sv}: the properties of one interface of an object.
int ReadInterface(sd_bus_message* m, std::string_view interface, BluezObject& object) {
  if (interface == bluez::kDevice) object.device.emplace();
  if (interface == bluez::kGattService) object.gatt_service = true;
  if (interface == bluez::kGattCharacteristic) object.characteristic.emplace();
  int r = sd_bus_message_enter_container(m, 'a', "{sv}");
  if (r < 0) return r;
  while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
    const char* name = nullptr;
    if ((r = sd_bus_message_read(m, "s", &name)) < 0) return r;
    if ((r = ReadProperty(m, interface, name, object)) < 0) return r;
    if ((r = sd_bus_message_exit_container(m)) < 0) return r;
  }
  return r < 0 ? r : sd_bus_message_exit_container(m);
}

// a{sa{sv}}: the interfaces of one object.
int ReadObject(sd_bus_message* m, BluezObject& object) {
  int r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
  if (r < 0) return r;
  while ((r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
    const char* interface = nullptr;
    if ((r = sd_bus_message_read(m, "s", &interface)) < 0) return r;
    if ((r = ReadInterface(m, interface, object)) < 0) return r;
    if ((r = sd_bus_message_exit_container(m)) < 0) return r;
  }
  return r < 0 ? r : sd_bus_message_exit_container(m);
}

}  // namespace

int ReadBluezObjects(sd_bus* bus, BluezObjects& objects) {
  objects.clear();
  Message reply;
  const Message call = NewCall(bus, "/", "org.freedesktop.DBus.ObjectManager", "GetManagedObjects");
  if (!call) return -ENOMEM;
  int r = Call(bus, call, &reply);
  if (r < 0) return r;
  sd_bus_message* m = reply.get();
  if ((r = sd_bus_message_enter_container(m, 'a', "{oa{sa{sv}}}")) < 0) return r;
  while ((r = sd_bus_message_enter_container(m, 'e', "oa{sa{sv}}")) > 0) {
    const char* path = nullptr;
    if ((r = sd_bus_message_read(m, "o", &path)) < 0) return r;
    if ((r = ReadObject(m, objects[path])) < 0) return r;
    if ((r = sd_bus_message_exit_container(m)) < 0) return r;
  }
  return r < 0 ? r : sd_bus_message_exit_container(m);
}

int WriteCharacteristic(sd_bus* bus, const std::string& path, std::span<const uint8_t> value) {
  const Message call = NewCall(bus, path.c_str(), "org.bluez.GattCharacteristic1", "WriteValue");
  if (!call) return -ENOMEM;
  sd_bus_message* m = call.get();
  int r = sd_bus_message_append_array(m, 'y', value.data(), value.size());
  if (r >= 0) r = sd_bus_message_append(m, "a{sv}", 1, "type", "s", "request");
  return r < 0 ? r : Call(bus, call);
}

int StartNotify(sd_bus* bus, const std::string& path) {
  const Message call = NewCall(bus, path.c_str(), "org.bluez.GattCharacteristic1", "StartNotify");
  return call ? Call(bus, call) : -ENOMEM;
}

std::optional<BluezChange> ReadPropertiesChanged(sd_bus_message* m) {
  BluezChange change;
  if (ReadString(m, change.interface) < 0) return std::nullopt;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) return std::nullopt;
  int r = 0;
  while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
    const char* name = nullptr;
    if (sd_bus_message_read(m, "s", &name) < 0) return std::nullopt;
    const std::string_view property = name;
    if (change.interface == bluez::kGattCharacteristic && property == "Value") {
      r = ReadVariant(m, "ay", [&] {
        const void* bytes = nullptr;
        size_t size = 0;
        const int read = sd_bus_message_read_array(m, 'y', &bytes, &size);
        if (read >= 0) {
          const auto* first = static_cast<const uint8_t*>(bytes);
          change.value.emplace(first, first + size);
        }
        return read;
      });
    } else {
      if (change.interface == bluez::kDevice && property == "Connected") change.connection = true;
      r = sd_bus_message_skip(m, "v");
    }
    if (r < 0 || sd_bus_message_exit_container(m) < 0) return std::nullopt;
  }
  if (r < 0) return std::nullopt;
  return change;
}

}  // namespace ms1
