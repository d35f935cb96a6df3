/* A stand-in driver library: records every call in the test program's log
 * (resolved from the executable), so the tests see the order of calls across
 * both libraries. Built as the wired and the receiver file, and once without
 * GetFeature. */
#include <stdio.h>

#include "libs/abi/ms1_feature_driver.h"

/* Weak: a program without it (ms1ctl) can load the fake too. */
__attribute__((weak)) void ms1_fake_driver_record(const char *line);

static void Record(const char *call) {
  char line[128];
  if (!ms1_fake_driver_record) return;
  snprintf(line, sizeof line, "%s %s", FAKE_DRIVER_NAME, call);
  ms1_fake_driver_record(line);
}

static Ms1WindowHandle window;
static uint32_t plug;
static int announced;

void Set_VIDPID(int32_t vendor_id, int32_t product_id) {
  char call[64];
  snprintf(call, sizeof call, "Set_VIDPID %04X %04X", (unsigned)vendor_id, (unsigned)product_id);
  Record(call);
}

void Open_DevMonitor(Ms1WindowHandle w, uint32_t data_message, uint32_t plug_message) {
  char call[64];
  window = w;
  plug = plug_message;
  snprintf(call, sizeof call, "Open_DevMonitor %u %u", data_message, plug_message);
  Record(call);
}

void Close_DevMonitor(void) { Record("Close_DevMonitor"); }

int32_t Open_FeatureDevice(void) {
  Record("Open_FeatureDevice");
  if (!announced) window.post(window.context, plug, 1, 0); /* as if it had just arrived */
  announced = 1;
  return FAKE_DRIVER_OPEN_RESULT;
}

void Close_FeatureDevice(void) { Record("Close_FeatureDevice"); }

int32_t SetFeature(const uint8_t *report, int32_t length) {
  char call[64];
  snprintf(call, sizeof call, "SetFeature %02X %d", report[0], length);
  Record(call);
  return 1;
}

#ifndef FAKE_DRIVER_WITHOUT_GET_FEATURE
int32_t GetFeature(uint8_t *report, int32_t length) {
  (void)report;
  (void)length;
  Record("GetFeature");
  return 0;
}
#endif

#ifdef FAKE_DRIVER_OPEN_FAILURE
int32_t Get_OpenFailure(void) { return FAKE_DRIVER_OPEN_FAILURE; }
#endif

__attribute__((destructor)) static void Unloaded(void) { Record("unloaded"); }
