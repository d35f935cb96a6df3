// What the links and the mouse's events show on the page: the link icons, the
// sleep label, the sections that depend on the link (lighting, polling rate,
// power), the battery ring and its label with the charging sweep, and the
// options the mouse's own buttons change.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "device/link_view.h"

namespace ms1 {

class PageHost;
struct PageControls;

class PageLinkView final : public LinkView {
 public:
  // What the view uses of the device page; all of it must outlive the view.
  struct Page {
    PageControls& controls;
    PageHost& host;
    // Rewrites every settings control from the current profile.
    std::function<void()> refresh;
    // The lighting effect of the mode record the page shows.
    std::function<int32_t()> light_effect;
  };

  explicit PageLinkView(Page page) : page_(std::move(page)) {}

  void ShowLinkIcon(ConnectionMode link, bool visible) override;
  void ShowSleepLabel(bool visible) override;
  void ShowLightingControls() override;
  void ShowPollingRateToggle(bool visible) override;
  void ShowPowerToggle(bool visible) override;
  void ShowPowerPanel(bool visible) override;
  void SetPowerRing(int value) override;
  void SetChargeSweep(int value) override;
  void SetPowerLabelKey(std::string_view language_key) override;
  void SetPowerLabelText(std::string_view text) override;
  void ShowBatteryLevel(int percent) override;
  void StartChargeAnimationTimer() override;
  void StopChargeAnimationTimer() override;
  void SelectDpiLevelOption(int level) override;
  void RefreshPage() override { page_.refresh(); }
  void SelectModeOptionNotifying(int mode) override;

 private:
  Page page_;
};

}  // namespace ms1
