// The mapping from BlueZ's device ids to the interface names the filters and
// the arrival check look at.
#include "device/bluetooth/bluez_objects.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(BluezObjectsTest, ModaliasBecomesTheInterfaceNameTheFiltersSearch) {
  const struct {
    const char* modalias;
    const char* name;
    bool mouse;
  } cases[] = {
      {"usb:v045Ep0040d0001", "VID&02045e_PID&0040_REV&0001", true},
      {"usb:v045ep0040d0105", "VID&02045e_PID&0040_REV&0105", true},
      // Bluetooth SIG ids are another vendor space: 045E there is not the mouse's maker.
      {"bluetooth:v045Ep0040d0001", "VID&01045e_PID&0040_REV&0001", false},
      {"usb:v045Ep0041d0001", "VID&02045e_PID&0041_REV&0001", false},
      {"usb:v045Ep0040", "VID&02045e_PID&0040", true},
      {"usb:v045E", "", false},
      {"pci:v045Ep0040", "", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.modalias);
    EXPECT_EQ(DeviceInterfaceName(c.modalias), c.name);
    EXPECT_EQ(IsMouseInterfaceName(DeviceInterfaceName(c.modalias)), c.mouse);
  }
}

TEST(BluezObjectsTest, SelectionNeedsTheFiltersAConnectedDeviceAndTheFlag) {
  const std::string mouse = "/org/bluez/hci0/dev_C0_FF_EE_00_00_01";
  const std::string other = "/org/bluez/hci0/dev_C0_FF_EE_00_00_02";
  BluezObjects objects;
  objects[mouse].device = BluezDevice{"usb:v045Ep0040d0001", true};
  objects[other].device = BluezDevice{"usb:v045Ep0040d0001", false};
  for (const std::string& device : {mouse, other}) {
    objects[device + "/service0020"].gatt_service = true;
    objects[device + "/service000a"].gatt_service = true;
    objects[device + "/service000a/char000b"].characteristic =
        BluezCharacteristic{"0000FEE3-0000-1000-8000-00805F9B34FB", {"read", "write"}};
    objects[device + "/service000a/char000d"].characteristic =
        BluezCharacteristic{std::string(bluez::kWriteUuid), {"write-without-response"}};
  }
  const auto list = ConnectedDeviceList(objects);
  EXPECT_EQ(list, std::vector<std::string>{mouse});
  EXPECT_EQ(SelectServices(objects, "VID&02045E", "PID&0040", list),
            (std::vector<std::string>{mouse + "/service000a", mouse + "/service0020"}));
  EXPECT_TRUE(SelectServices(objects, "VID&02045e", "PID&0040", list).empty())
      << "the filter meets the upper-cased name";
  EXPECT_EQ(
      ServiceCharacteristics(objects, mouse + "/service000a", bluez::kWriteUuid, bluez::kWriteFlag),
      std::vector<std::string>{mouse + "/service000a/char000b"});
  EXPECT_EQ(ObjectHandle(mouse + "/service000a"), 0x0Au);
  EXPECT_EQ(ObjectHandle(mouse), 0u);
}

}  // namespace
}  // namespace ms1
