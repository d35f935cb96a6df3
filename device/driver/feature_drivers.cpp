#include "device/driver/feature_drivers.h"

namespace ms1 {

void FeatureDrivers::Load(const std::string& folder, bool wired, bool receiver) {
  if (wired) wired_ = DriverLibrary::Load(folder, kWiredDriver.file_name);
  if (receiver) receiver_ = DriverLibrary::Load(folder, kReceiverDriver.file_name);
}

bool FeatureDrivers::Open(DriverLibrary* library, const DriverLinkSpec& spec,
                          Ms1WindowHandle window) {
  if (library == nullptr) return false;
  library->SetVidPid(spec.vendor_id, spec.product_id);
  library->OpenDevMonitor(window, spec.data_message, spec.plug_message);
  return library->OpenFeatureDevice() != 0;
}

bool FeatureDrivers::OpenNotAllowed() const {
  for (const DriverLibrary* library : {wired_.get(), receiver_.get()}) {
    if (library != nullptr && library->OpenFailure() == MS1_OPEN_NOT_ALLOWED) return true;
  }
  return false;
}

void FeatureDrivers::CloseAll() {
  for (DriverLibrary* library : {receiver_.get(), wired_.get()}) {
    if (library == nullptr) continue;
    library->CloseFeatureDevice();
    library->CloseDevMonitor();
  }
}

void FeatureDrivers::Unload() {
  wired_.reset();
  receiver_.reset();
}

}  // namespace ms1
