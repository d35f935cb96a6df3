#include "device/driver_library.h"

#include <dlfcn.h>

namespace ms1 {

namespace {

template <typename Fn>
bool Bind(void* handle, const char* name, Fn& out) {
  out = reinterpret_cast<Fn>(dlsym(handle, name));
  return out != nullptr;
}

}  // namespace

std::unique_ptr<DriverLibrary> DriverLibrary::Load(const std::string& folder,
                                                   const std::string& file_name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += file_name;
  // A path with a slash keeps dlopen from searching anywhere but the folder.
  if (path.find('/') == std::string::npos) path = "./" + path;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  EntryPoints e{};
  const bool complete = Bind(handle, "Set_VIDPID", e.set_vid_pid) &&
                        Bind(handle, "Open_DevMonitor", e.open_dev_monitor) &&
                        Bind(handle, "Close_DevMonitor", e.close_dev_monitor) &&
                        Bind(handle, "Open_FeatureDevice", e.open_feature_device) &&
                        Bind(handle, "Close_FeatureDevice", e.close_feature_device) &&
                        Bind(handle, "SetFeature", e.set_feature) &&
                        Bind(handle, "GetFeature", e.get_feature);
  if (!complete) {
    dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<DriverLibrary>(new DriverLibrary(handle, e));
}

DriverLibrary::~DriverLibrary() {
  dlclose(handle_);
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

int32_t DriverLibrary::SetFeature(const uint8_t* report, int32_t length) {
  return entry_.set_feature(report, length);
}

}  // namespace ms1
