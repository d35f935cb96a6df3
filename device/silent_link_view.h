// A LinkView for programs without a window: the links and events change
// nothing on any screen.
#pragma once

#include "device/link_view.h"

namespace ms1 {

class SilentLinkView final : public LinkView {
 public:
  void ShowLinkIcon(ConnectionMode, bool) override {}
  void ShowSleepLabel(bool) override {}
  void ShowLightingControls() override {}
  void ShowPollingRateToggle(bool) override {}
  void ShowPowerToggle(bool) override {}
  void ShowPowerPanel(bool) override {}
  void SetPowerRing(int) override {}
  void SetChargeSweep(int) override {}
  void SetPowerLabelKey(std::string_view) override {}
  void SetPowerLabelText(std::string_view) override {}
  void ShowBatteryLevel(int) override {}
  void StartChargeAnimationTimer() override {}
  void StopChargeAnimationTimer() override {}
  void SelectDpiLevelOption(int) override {}
  void RefreshPage() override {}
  void SelectModeOptionNotifying(int) override {}
};

}  // namespace ms1
