// The driver library's C entry points over hidapi (hidraw) and libudev. Each
// loaded file (hiddriver_1.so, hiddriver_2.so) has its own copy of this state.
#include <hidapi/hidapi.h>

#include <mutex>

#include "libs/abi/driver_entry_points.h"
#include "libs/featuredriver/event_reader.h"
#include "libs/featuredriver/hid_interface.h"
#include "libs/featuredriver/udev_watch.h"

namespace ms1::hiddriver {
namespace {

struct PostTarget {
  Ms1WindowHandle window{};
  uint32_t data_message = 0;
  uint32_t plug_message = 0;
  bool Valid() const { return window.post != nullptr; }
};

class Driver {
 public:
  void SetIds(int32_t vendor, int32_t product) {
    std::lock_guard lock(mutex_);
    vendor_id_ = static_cast<uint16_t>(vendor);
    product_id_ = static_cast<uint16_t>(product);
  }

  void StartMonitor(Ms1WindowHandle window, uint32_t data_message, uint32_t plug_message) {
    std::lock_guard monitor_lock(monitor_mutex_);
    watch_.Stop();
    PostTarget target{window, data_message, plug_message};
    uint16_t vendor = 0, product = 0;
    {
      std::lock_guard lock(mutex_);
      target_ = target;
      vendor = vendor_id_;
      product = product_id_;
    }
    if (!target.Valid()) return;
    watch_.Start(vendor, product, [target](bool present) {
      target.window.post(target.window.context, target.plug_message, present ? 1 : 0, 0);
    });
  }

  void StopMonitor() {
    std::lock_guard monitor_lock(monitor_mutex_);
    watch_.Stop();
    std::lock_guard lock(mutex_);
    target_ = {};
  }

  int32_t Open() {
    std::lock_guard lock(mutex_);
    CloseLocked();
    open_failure_ = MS1_OPEN_ABSENT;
    if (hid_init() != 0) return 0;
    hid_device_info* list = hid_enumerate(vendor_id_, product_id_);
    const auto path = ChooseVendorInterface(InterfacesFrom(list), vendor_id_, product_id_);
    hid_free_enumeration(list);
    if (!path) return 0;
    device_ = hid_open_path(path->c_str());
    if (!device_) {
      if (NodeNotAllowed(*path)) open_failure_ = MS1_OPEN_NOT_ALLOWED;
      return 0;
    }
    open_failure_ = MS1_OPEN_DONE;
    if (target_.Valid()) {
      const PostTarget target = target_;
      // hidraw gives every reader its own copy of the input reports, so the
      // reader thread needs no share of the hidapi handle.
      reader_.Start(*path, [target](DeviceEvent e) {
        target.window.post(target.window.context, target.data_message, e.code, e.value);
      });
    }
    return 1;
  }

  void Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
  }

  int32_t OpenFailure() {
    std::lock_guard lock(mutex_);
    return open_failure_;
  }

  int32_t Send(const uint8_t* report, int32_t length) {
    if (!report || length <= 0) return 0;
    std::lock_guard lock(mutex_);
    if (!device_) return 0;
    return hid_send_feature_report(device_, report, static_cast<size_t>(length)) >= 0 ? 1 : 0;
  }

  ~Driver() {
    StopMonitor();
    Close();
  }

 private:
  void CloseLocked() {
    reader_.Stop();
    if (device_) hid_close(device_);
    device_ = nullptr;
  }

  std::mutex mutex_;  // ids, target, device and reader
  uint16_t vendor_id_ = 0;
  uint16_t product_id_ = 0;
  PostTarget target_;
  hid_device* device_ = nullptr;
  int32_t open_failure_ = MS1_OPEN_ABSENT;
  EventReader reader_;
  std::mutex monitor_mutex_;
  UdevWatch watch_;
};

Driver& TheDriver() {
  static Driver driver;
  return driver;
}

}  // namespace
}  // namespace ms1::hiddriver

MS1_DEFINE_DRIVER_ENTRY_POINTS(ms1::hiddriver::TheDriver())
MS1_DEFINE_OPEN_FAILURE_ENTRY_POINT(ms1::hiddriver::TheDriver())
