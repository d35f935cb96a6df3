#include "device/bluetooth/bluez_objects.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "model/protocol/link_ids.h"

namespace ms1 {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view ParentPath(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// The four hex digits after `tag` in a modalias ("v045E" -> "045E").
std::string_view Field(std::string_view ids, char tag) {
  const auto at = ids.find(tag);
  if (at == std::string_view::npos || ids.size() < at + 5) return {};
  return ids.substr(at + 1, 4);
}

const BluezDevice* OwningDevice(const BluezObjects& objects, std::string_view service) {
  const auto found = objects.find(std::string(ParentPath(service)));
  if (found == objects.end() || !found->second.device) return nullptr;
  return &*found->second.device;
}

bool OnDeviceList(std::string_view service, const std::vector<std::string>& device_list) {
  return std::any_of(device_list.begin(), device_list.end(),
                     [&](const std::string& device) { return ParentPath(service) == device; });
}

}  // namespace

std::string DeviceInterfaceName(std::string_view modalias) {
  std::string_view source;
  if (modalias.starts_with("usb:")) source = "02";
  if (modalias.starts_with("bluetooth:")) source = "01";
  if (source.empty()) return {};
  const std::string_view ids = modalias.substr(modalias.find(':') + 1);
  const std::string_view vendor = Field(ids, 'v'), product = Field(ids, 'p'),
                         revision = Field(ids, 'd');
  if (vendor.empty() || product.empty()) return {};
  std::string name = "VID&" + std::string(source) + Lower(vendor) + "_PID&" + Lower(product);
  if (!revision.empty()) name += "_REV&" + Lower(revision);
  return name;
}

bool IsMouseInterfaceName(std::string_view name) {
  // As DeviceInterfaceName spells them: "VID&02045e", "PID&0040".
  static const std::string vendor = "VID&02" + Lower(link_ids::IdText(link_ids::kBluetoothVendor));
  static const std::string product = "PID&" + Lower(link_ids::IdText(link_ids::kBluetoothProduct));
  return name.find(vendor) != std::string_view::npos &&
         name.find(product) != std::string_view::npos;
}

bool MouseConnected(const BluezObjects& objects) {
  return std::any_of(objects.begin(), objects.end(), [](const auto& entry) {
    const auto& device = entry.second.device;
    return device && device->connected &&
           IsMouseInterfaceName(DeviceInterfaceName(device->modalias));
  });
}

std::vector<std::string> ConnectedDeviceList(const BluezObjects& objects) {
  std::vector<std::string> list;
  for (const auto& [path, object] : objects) {
    if (list.size() == bluez::kDeviceListLimit) break;
    if (object.device && object.device->connected) list.push_back(path);
  }
  return list;
}

std::vector<std::string> SelectServices(const BluezObjects& objects, std::string_view vendor_filter,
                                        std::string_view product_filter,
                                        const std::vector<std::string>& device_list) {
  std::vector<std::string> selected;
  for (const auto& [path, object] : objects) {
    if (!object.gatt_service) continue;
    const BluezDevice* device = OwningDevice(objects, path);
    if (device == nullptr) continue;
    const std::string name = Upper(DeviceInterfaceName(device->modalias));
    if (name.find(vendor_filter) == std::string::npos ||
        name.find(product_filter) == std::string::npos) {
      continue;
    }
    if (OnDeviceList(path, device_list)) selected.push_back(path);
  }
  return selected;
}

std::vector<std::string> ServiceCharacteristics(const BluezObjects& objects,
                                                std::string_view service, std::string_view uuid,
                                                std::string_view flag) {
  std::vector<std::string> found;
  for (const auto& [path, object] : objects) {
    const auto& characteristic = object.characteristic;
    if (!characteristic || ParentPath(path) != service) continue;
    if (Lower(characteristic->uuid) != uuid) continue;
    const auto& flags = characteristic->flags;
    if (std::find(flags.begin(), flags.end(), flag) != flags.end()) found.push_back(path);
  }
  return found;
}

unsigned ObjectHandle(std::string_view path) {
  constexpr std::size_t kDigits = 4;  // BlueZ writes handles as %04x
  if (path.size() < kDigits) return 0;
  const std::string_view digits = path.substr(path.size() - kDigits);
  unsigned handle = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + kDigits, handle, 16);
  return ec == std::errc() && end == digits.data() + kDigits ? handle : 0;
}

}  // namespace ms1
