#include "device/link_panels.h"

namespace ms1 {

void RefreshLinkPanels(const LinkState& links, LinkView& view) {
  const bool wired = links.wiredState == link_presence::kPresent;
  const bool receiver_awake =
      links.receiverState == link_presence::kPresent && links.receiverAwake != 0;
  if (wired || receiver_awake) {
    view.ShowLightingControls();
    view.ShowPollingRateToggle(true);
    view.ShowPowerToggle(true);
    if (!wired) view.ShowPowerPanel(true);
    return;
  }
  if (links.bleConnected != 0) {
    view.ShowLightingControls();
    view.ShowPollingRateToggle(false);
    view.ShowPowerToggle(false);
    view.ShowPowerPanel(false);
  }
}

bool SleepLabelWanted(const LinkState& links) {
  return links.bleConnected == 0 && links.wiredState != link_presence::kPresent;
}

}  // namespace ms1
