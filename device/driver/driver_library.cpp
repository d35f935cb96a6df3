#include "device/driver/driver_library.h"

#include "device/driver/folder_library.h"

namespace ms1 {

std::unique_ptr<DriverLibrary> DriverLibrary::Load(const std::string& folder,
                                                   const std::string& file_name) {
  void* handle = OpenFolderLibrary(folder, file_name);
  if (handle == nullptr) return nullptr;
  EntryPoints e{};
  const bool complete = BindEntryPoint(handle, "Set_VIDPID", e.set_vid_pid) &&
                        BindEntryPoint(handle, "Open_DevMonitor", e.open_dev_monitor) &&
                        BindEntryPoint(handle, "Close_DevMonitor", e.close_dev_monitor) &&
                        BindEntryPoint(handle, "Open_FeatureDevice", e.open_feature_device) &&
                        BindEntryPoint(handle, "Close_FeatureDevice", e.close_feature_device) &&
                        BindEntryPoint(handle, "SetFeature", e.set_feature) &&
                        BindEntryPoint(handle, "GetFeature", e.get_feature);
  if (!complete) {
    CloseFolderLibrary(handle);
    return nullptr;
  }
  BindEntryPoint(handle, "Get_OpenFailure", e.get_open_failure);
  return std::unique_ptr<DriverLibrary>(new DriverLibrary(handle, e));
}

DriverLibrary::~DriverLibrary() {
  CloseFolderLibrary(handle_);
}

void DriverLibrary::SetVidPid(int32_t vendor_id, int32_t product_id) {
  entry_.set_vid_pid(vendor_id, product_id);
}

void DriverLibrary::OpenDevMonitor(Ms1WindowHandle window, uint32_t data_message,
                                   uint32_t plug_message) {
  entry_.open_dev_monitor(window, data_message, plug_message);
}

void DriverLibrary::CloseDevMonitor() {
  entry_.close_dev_monitor();
}

int32_t DriverLibrary::OpenFeatureDevice() {
  return entry_.open_feature_device();
}

void DriverLibrary::CloseFeatureDevice() {
  entry_.close_feature_device();
}

int32_t DriverLibrary::OpenFailure() const {
  return entry_.get_open_failure != nullptr ? entry_.get_open_failure() : MS1_OPEN_ABSENT;
}

int32_t DriverLibrary::SetFeature(const uint8_t* report, int32_t length) {
  return entry_.set_feature(report, length);
}

}  // namespace ms1
