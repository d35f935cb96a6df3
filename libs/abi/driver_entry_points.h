// Defines the seven C entry points of a driver library over one driver object.
// Both the real driver and the virtual mouse use it, so their exported
// surface cannot drift apart. Use once per library, at file scope:
//   MS1_DEFINE_DRIVER_ENTRY_POINTS(TheDriver())
// where the object offers SetIds, StartMonitor, StopMonitor, Open, Close, Send.
#pragma once

#include "libs/abi/ms1_feature_driver.h"

// Libraries are built with hidden visibility: only these leave them.
#define MS1_DRIVER_EXPORT __attribute__((visibility("default")))

// The optional Get_OpenFailure over a driver object offering OpenFailure().
#define MS1_DEFINE_OPEN_FAILURE_ENTRY_POINT(driver)         \
  extern "C" MS1_DRIVER_EXPORT int32_t Get_OpenFailure(void) { \
    return (driver).OpenFailure();                         \
  }

#define MS1_DEFINE_DRIVER_ENTRY_POINTS(driver)                                          \
  extern "C" {                                                                          \
  MS1_DRIVER_EXPORT void Set_VIDPID(int32_t vendor_id, int32_t product_id) {            \
    (driver).SetIds(vendor_id, product_id);                                             \
  }                                                                                     \
  MS1_DRIVER_EXPORT void Open_DevMonitor(Ms1WindowHandle window, uint32_t data_message, \
                                         uint32_t plug_message) {                       \
    (driver).StartMonitor(window, data_message, plug_message);                          \
  }                                                                                     \
  MS1_DRIVER_EXPORT void Close_DevMonitor(void) {                                       \
    (driver).StopMonitor();                                                             \
  }                                                                                     \
  MS1_DRIVER_EXPORT int32_t Open_FeatureDevice(void) {                                  \
    return (driver).Open();                                                             \
  }                                                                                     \
  MS1_DRIVER_EXPORT void Close_FeatureDevice(void) {                                    \
    (driver).Close();                                                                   \
  }                                                                                     \
  MS1_DRIVER_EXPORT int32_t SetFeature(const uint8_t* report, int32_t length) {         \
    return (driver).Send(report, length);                                               \
  }                                                                                     \
  MS1_DRIVER_EXPORT int32_t GetFeature(uint8_t*, int32_t) {                             \
    return 0;                                                                           \
  }                                                                                     \
  }
