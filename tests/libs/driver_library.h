// Loads a driver library file and binds its entry points the way the program does.
#pragma once

#include <dlfcn.h>

#include <string>
#include <vector>

#include "libs/abi/ms1_feature_driver.h"

namespace ms1::test {

class DriverLibrary {
 public:
  explicit DriverLibrary(const std::string& path) {
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
      error_ = ::dlerror();
      return;
    }
    set_vid_pid = Bind<Ms1SetVidPidFn>("Set_VIDPID");
    open_monitor = Bind<Ms1OpenDevMonitorFn>("Open_DevMonitor");
    close_monitor = Bind<Ms1CloseDevMonitorFn>("Close_DevMonitor");
    open_device = Bind<Ms1OpenFeatureDeviceFn>("Open_FeatureDevice");
    close_device = Bind<Ms1CloseFeatureDeviceFn>("Close_FeatureDevice");
    set_feature = Bind<Ms1SetFeatureFn>("SetFeature");
    get_feature = Bind<Ms1GetFeatureFn>("GetFeature");
  }
  ~DriverLibrary() {
    if (handle_) ::dlclose(handle_);
  }
  DriverLibrary(const DriverLibrary&) = delete;
  DriverLibrary& operator=(const DriverLibrary&) = delete;

  bool Loaded() const {
    return handle_ && set_vid_pid && open_monitor && close_monitor && open_device && close_device &&
           set_feature && get_feature;
  }
  const std::string& Error() const { return error_; }
  void* Symbol(const char* name) const { return ::dlsym(handle_, name); }

  int32_t Send(const std::vector<uint8_t>& report) {
    return set_feature(report.data(), static_cast<int32_t>(report.size()));
  }

  Ms1SetVidPidFn set_vid_pid = nullptr;
  Ms1OpenDevMonitorFn open_monitor = nullptr;
  Ms1CloseDevMonitorFn close_monitor = nullptr;
  Ms1OpenFeatureDeviceFn open_device = nullptr;
  Ms1CloseFeatureDeviceFn close_device = nullptr;
  Ms1SetFeatureFn set_feature = nullptr;
  Ms1GetFeatureFn get_feature = nullptr;

 private:
  template <typename Fn>
  Fn Bind(const char* name) {
    return reinterpret_cast<Fn>(::dlsym(handle_, name));
  }

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace ms1::test
