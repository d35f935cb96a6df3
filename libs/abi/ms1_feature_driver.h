/* The C interface of the feature-report driver library. The program loads two
 * copies at run time (hiddriver_2.so for the cable, hiddriver_1.so for the
 * wireless receiver); the real driver and the virtual mouse both export it. */
#ifndef MS1_FEATURE_DRIVER_H
#define MS1_FEATURE_DRIVER_H

#include <stdint.h>

#include "libs/abi/ms1_window_handle.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The messages the program asks for in Open_DevMonitor, per link. */
enum {
  MS1_RECEIVER_EVENT_MESSAGE = 1325,
  MS1_RECEIVER_PLUG_MESSAGE = 1326,
  MS1_WIRED_EVENT_MESSAGE = 1327,
  MS1_WIRED_PLUG_MESSAGE = 1328
};

/* Which device the library serves (vendor id, product id). */
void Set_VIDPID(int32_t vendor_id, int32_t product_id);

/* Starts watching for the device: posts `plug_message` with wParam 1 on
 * arrival and 0 on removal, and `data_message` for each device event with
 * wParam = 16-bit event code and the low 16 bits of lParam = event value. */
void Open_DevMonitor(Ms1WindowHandle window, uint32_t data_message, uint32_t plug_message);
void Close_DevMonitor(void);

/* Non-zero: the device was found and opened; 0: absent. */
int32_t Open_FeatureDevice(void);
void Close_FeatureDevice(void);

/* Sends one feature report; byte 0 is the report id. Non-zero: delivered. */
int32_t SetFeature(const uint8_t *report, int32_t length);

/* Bound by the program but never called. */
int32_t GetFeature(uint8_t *report, int32_t length);

/* Beyond the designed entry points, and optional: why the last
 * Open_FeatureDevice returned 0. The plug message has no room for it, so a
 * program that wants to tell a permission problem from an absent mouse asks
 * after the open; one that does not bind it loses nothing. */
enum {
  MS1_OPEN_DONE = 0,        /* the device was opened */
  MS1_OPEN_ABSENT = 1,      /* no node of the device was found */
  MS1_OPEN_NOT_ALLOWED = 2  /* a node exists but this user may not open it */
};
int32_t Get_OpenFailure(void);

/* Signatures as the program binds them with dlsym. */
typedef void (*Ms1SetVidPidFn)(int32_t, int32_t);
typedef void (*Ms1OpenDevMonitorFn)(Ms1WindowHandle, uint32_t, uint32_t);
typedef void (*Ms1CloseDevMonitorFn)(void);
typedef int32_t (*Ms1OpenFeatureDeviceFn)(void);
typedef void (*Ms1CloseFeatureDeviceFn)(void);
typedef int32_t (*Ms1SetFeatureFn)(const uint8_t *, int32_t);
typedef int32_t (*Ms1GetFeatureFn)(uint8_t *, int32_t);
typedef int32_t (*Ms1GetOpenFailureFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* MS1_FEATURE_DRIVER_H */
