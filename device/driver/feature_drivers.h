// The two driver libraries of the wired and receiver links and the order in
// which they are loaded, opened, closed and unloaded.
#pragma once

#include <memory>
#include <string>

#include "device/driver/driver_library.h"
#include "device/messages.h"

namespace ms1 {

struct DriverLinkSpec {
  const char* file_name;
  int32_t vendor_id;
  int32_t product_id;
  uint32_t data_message;
  uint32_t plug_message;
};

inline constexpr DriverLinkSpec kWiredDriver{"hiddriver_2.so", link_ids::kVendor,
                                             link_ids::kWiredProduct, msg::kWiredEvent,
                                             msg::kWiredPlug};
inline constexpr DriverLinkSpec kReceiverDriver{"hiddriver_1.so", link_ids::kVendor,
                                                link_ids::kReceiverProduct, msg::kReceiverEvent,
                                                msg::kReceiverPlug};

class FeatureDrivers {
 public:
  // Loads the wired library, then the receiver library, from `folder`. A
  // library that is missing or incomplete, or not wanted, leaves its link absent.
  void Load(const std::string& folder, bool wired = true, bool receiver = true);

  DriverLibrary* wired() const { return wired_.get(); }
  DriverLibrary* receiver() const { return receiver_.get(); }

  // Set_VIDPID, Open_DevMonitor and Open_FeatureDevice of one link. True when
  // the device was found and opened; false also when the library is absent.
  bool OpenWired(Ms1WindowHandle window) { return Open(wired_.get(), kWiredDriver, window); }
  bool OpenReceiver(Ms1WindowHandle window) {
    return Open(receiver_.get(), kReceiverDriver, window);
  }

  // A mouse node of either link exists but this user may not open it (the
  // udev rule is missing, or the user is not at the seat); the last open of
  // that link failed for it.
  bool OpenNotAllowed() const;

  // Receiver device, receiver monitor, wired device, wired monitor; made for
  // every loaded library whether or not its device was open.
  void CloseAll();

  // Wired library first, then the receiver library. Call only once nothing can
  // send any more (the worker has ended).
  void Unload();

 private:
  static bool Open(DriverLibrary* library, const DriverLinkSpec& spec, Ms1WindowHandle window);

  std::unique_ptr<DriverLibrary> wired_;
  std::unique_ptr<DriverLibrary> receiver_;
};

}  // namespace ms1
