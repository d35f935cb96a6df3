// Which settings sections the present links support.
#pragma once

#include "device/link_state.h"
#include "device/link_view.h"

namespace ms1 {

// The cable, or a receiver whose mouse is awake, supports every section; Bluetooth
// LE has no polling-rate or power section. With none of these nothing changes.
void RefreshLinkPanels(const LinkState& links, LinkView& view);

// The sleep label stands for "no link can reach the mouse right now".
bool SleepLabelWanted(const LinkState& links);

}  // namespace ms1
