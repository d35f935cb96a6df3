// What the link and event handling change on the screen, named after what it
// does. The device page implements it on its controls; every call comes on the
// interface thread.
#pragma once

#include <string_view>

#include "device/link_state.h"

namespace ms1 {

class LinkView {
 public:
  virtual ~LinkView() = default;

  // "ms_1_wired", "ms_1_wireless", "ms_1_BLE".
  virtual void ShowLinkIcon(ConnectionMode link, bool visible) = 0;
  // "ms_1_sleep_label".
  virtual void ShowSleepLabel(bool visible) = 0;

  // Link-dependent sections.
  // "ms_1_combo_light" shown, and the lighting rows that fit the effect.
  virtual void ShowLightingControls() = 0;
  // "ms_1_check_prate"; hiding it also unticks it without a notification and
  // hides its section "ms_1_ver_prate".
  virtual void ShowPollingRateToggle(bool visible) = 0;
  // "ms_1_check_power".
  virtual void ShowPowerToggle(bool visible) = 0;
  // "ms_1_ver_power".
  virtual void ShowPowerPanel(bool visible) = 0;

  // Power display: the ring "ms_1_progress_power" (0..100) and the label
  // "ms_1_label_power", which shows either a language text or plain text.
  // The battery level: the ring with its percentage in the middle.
  virtual void SetPowerRing(int value) = 0;
  // A frame of the charging sweep: the ring alone, as no level is known.
  virtual void SetChargeSweep(int value) = 0;
  virtual void SetPowerLabelKey(std::string_view language_key) = 0;
  virtual void SetPowerLabelText(std::string_view text) = 0;
  // The battery level the mouse reported (10..100 %), on any link: also where
  // the ring is hidden (Bluetooth LE), so the desktop shows it too.
  virtual void ShowBatteryLevel(int percent) = 0;
  // The 30 ms control timer of the charging animation.
  virtual void StartChargeAnimationTimer() = 0;
  virtual void StopChargeAnimationTimer() = 0;

  // Settings changed with the mouse's own buttons.
  // Option "ms_1_option_dpi_step_<level>" (1..8), without a notification.
  virtual void SelectDpiLevelOption(int level) = 0;
  // Rewrites every settings control from the current profile.
  virtual void RefreshPage() = 0;
  // Option "ms_1_option_button_mode_<mode + 1>" with its notification; only
  // modes 0 and 1 have one.
  virtual void SelectModeOptionNotifying(int mode) = 0;
};

}  // namespace ms1
