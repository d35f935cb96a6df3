// Writing the settings controls from a mode record: what the page shows is
// always rewritten from the profile, never kept apart from it.
#pragma once

#include <QRgb>
#include <QString>
#include <cstdint>

#include "model/records.h"
#include "model/stored_color.h"
#include "ui/page_controls.h"

class QAbstractButton;

namespace ms1 {

// "%d" of the raw value times 40.
QString DpiLabelText(int32_t raw_value);
// "sleep_timer_1_text", the value times 0.5 with one decimal, a blank, "sleep_timer_2_text".
QString SleepLabelText(int32_t sleep_timer);

// Shows the lighting row that fits the effect: brightness for the static
// effect 1, speed for the animated effects 2..11, none otherwise.
void UpdateLightingRows(PageControls& c, int32_t light_effect);
void UpdateSleepLabel(PageControls& c, int32_t sleep_timer);

// Selects the options and sets the sliders, labels and colours of `mode`,
// with the mode option of `active_mode`, all without notifications. The
// move-mode box and the section boxes are left as they are.
void ShowModeSettings(PageControls& c, int active_mode, const ModeRecord& mode);

}  // namespace ms1
