// One feature-report driver library, loaded at run time by file name.
#pragma once

#include <memory>
#include <string>

#include "device/report_sinks.h"
#include "libs/abi/ms1_feature_driver.h"

namespace ms1 {

class DriverLibrary final : public FeatureSink {
 public:
  // Loads `folder` + `file_name` and binds all seven entry points. Returns
  // null, without a message, when the file does not load or lacks any entry
  // point; nothing of such a library is ever called.
  static std::unique_ptr<DriverLibrary> Load(const std::string& folder,
                                             const std::string& file_name);
  ~DriverLibrary() override;  // unloads the library
  DriverLibrary(const DriverLibrary&) = delete;
  DriverLibrary& operator=(const DriverLibrary&) = delete;

  void SetVidPid(int32_t vendor_id, int32_t product_id);
  void OpenDevMonitor(Ms1WindowHandle window, uint32_t data_message, uint32_t plug_message);
  void CloseDevMonitor();
  int32_t OpenFeatureDevice();
  void CloseFeatureDevice();
  int32_t SetFeature(const uint8_t* report, int32_t length) override;
  // Why the last OpenFeatureDevice gave 0 (MS1_OPEN_...); MS1_OPEN_ABSENT from
  // a library without the optional Get_OpenFailure.
  int32_t OpenFailure() const;

 private:
  struct EntryPoints {
    Ms1SetVidPidFn set_vid_pid;
    Ms1OpenDevMonitorFn open_dev_monitor;
    Ms1CloseDevMonitorFn close_dev_monitor;
    Ms1OpenFeatureDeviceFn open_feature_device;
    Ms1CloseFeatureDeviceFn close_feature_device;
    Ms1SetFeatureFn set_feature;
    Ms1GetFeatureFn get_feature;           // bound so a library without it counts as absent
    Ms1GetOpenFailureFn get_open_failure;  // optional
  };
  DriverLibrary(void* handle, const EntryPoints& entry) : handle_(handle), entry_(entry) {}

  void* handle_;
  EntryPoints entry_;
};

}  // namespace ms1
