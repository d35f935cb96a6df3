/* A stand-in input hook library: records every call with its argument in the
 * test program's log (resolved from the executable), and proves the window
 * handle it is given works by posting one key press through it. Built once
 * complete and once without removemousehook. */
#include <stdio.h>

#include "libs/abi/ms1_input_hook.h"

enum { kHookEventMessage = 1034, kVirtualKeyA = 0x41 };

/* Weak: a program without it can load the fake too. */
__attribute__((weak)) void ms1_fake_hook_record(const char *line);

static void Record(const char *call) {
  char line[64];
  if (!ms1_fake_hook_record) return;
  snprintf(line, sizeof line, "%s %s", FAKE_HOOK_NAME, call);
  ms1_fake_hook_record(line);
}

static void RecordFlag(const char *call, int flag) {
  char text[48];
  snprintf(text, sizeof text, "%s %d", call, flag);
  Record(text);
}

void installmousehook(void) {
  Record("installmousehook");
}

#ifndef FAKE_HOOK_WITHOUT_REMOVEMOUSEHOOK
void removemousehook(void) {
  Record("removemousehook");
}
#endif

void enablemousehook(int flag) {
  RecordFlag("enablemousehook", flag);
}

void installhook(Ms1WindowHandle window) {
  Record("installhook");
  window.post(window.context, kHookEventMessage, kVirtualKeyA, 0);
}

void removehook(void) {
  Record("removehook");
}

void enablehook(int flag) {
  RecordFlag("enablehook", flag);
}

void mousewheelenable(int flag) {
  RecordFlag("mousewheelenable", flag);
}

__attribute__((destructor)) static void Unloaded(void) {
  Record("unloaded");
}
