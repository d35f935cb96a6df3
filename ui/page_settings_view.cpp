#include "ui/page_settings_view.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "model/protocol/dpi_steps.h"
#include "platform/background_color.h"
#include "platform/language.h"

namespace ms1 {
namespace {

constexpr int32_t kStaticEffect = 1;
constexpr int32_t kFirstAnimatedEffect = 2;
constexpr int32_t kLastAnimatedEffect = 11;

// Options are checked without a notification: the profile already holds them.
void SelectQuietly(QAbstractButton* option) {
  if (option == nullptr) return;
  const QSignalBlocker quiet(option);
  option->setChecked(true);
}

template <class Array>
void SelectOptionQuietly(const Array& options, int32_t index) {
  if (index >= 0 && index < static_cast<int32_t>(options.size())) SelectQuietly(options[index]);
}

void SetSliderQuietly(QAbstractSlider* slider, int32_t value) {
  if (slider == nullptr) return;
  const QSignalBlocker quiet(slider);
  slider->setValue(value);
}

}  // namespace

QString DpiLabelText(int32_t raw_value) {
  return QString::number(DisplayedDpi(raw_value));
}

QString SleepLabelText(int32_t sleep_timer) {
  const float minutes = static_cast<float>(sleep_timer) * 0.5f;
  return Lan().Text(QStringLiteral("sleep_timer_1_text")) +
         QString::asprintf("%.1f ", static_cast<double>(minutes)) +
         Lan().Text(QStringLiteral("sleep_timer_2_text"));
}

void UpdateLightingRows(PageControls& c, int32_t light_effect) {
  SetShown(c.brightness_row, light_effect == kStaticEffect);
  SetShown(c.speed_row,
           light_effect >= kFirstAnimatedEffect && light_effect <= kLastAnimatedEffect);
  SetShown(c.light_color_row, false);
}

void UpdateSleepLabel(PageControls& c, int32_t sleep_timer) {
  if (c.sleep_timer_label != nullptr) c.sleep_timer_label->setText(SleepLabelText(sleep_timer));
}

void ShowModeSettings(PageControls& c, int active_mode, const ModeRecord& mode) {
  SelectOptionQuietly(c.mode_options, active_mode);
  SelectOptionQuietly(c.dpi_options, mode.dpi_level);
  for (int n = 0; n < kPageDpiLevelCount; ++n) {
    // A level the mouse has switched off is shown off: it cannot be chosen
    // as the current level nor given a value the mouse would never use.
    const bool enabled = mode.dpi_enabled[n] == 1;
    SetSliderQuietly(c.dpi_sliders[n], mode.dpi_value[n]);
    if (c.dpi_labels[n] != nullptr) {
      c.dpi_labels[n]->setText(enabled ? DpiLabelText(mode.dpi_value[n])
                                       : Lan().Text(QStringLiteral("dpi_level_off_text")));
    }
    SetBackgroundColor(c.dpi_colors[n], ArgbOfStoredColor(mode.dpi_color[n]));
    for (QWidget* control :
         {static_cast<QWidget*>(c.dpi_sliders[n]), static_cast<QWidget*>(c.dpi_options[n])}) {
      if (control != nullptr) control->setEnabled(enabled);
    }
  }
  if (c.light_effect != nullptr) {
    const QSignalBlocker quiet(c.light_effect);
    c.light_effect->setCurrentIndex(mode.light_effect);
  }
  SetSliderQuietly(c.brightness, mode.light_brightness);
  SetSliderQuietly(c.speed, mode.light_speed);
  SetBackgroundColor(c.light_color, ArgbOfStoredColor(mode.light_color));
  SelectOptionQuietly(c.polling_rates, mode.polling_rate);
  SetSliderQuietly(c.sleep_timer, mode.sleep_timer);
  UpdateSleepLabel(c, mode.sleep_timer);
  if (c.move_mode != nullptr) {
    const QSignalBlocker quiet(c.move_mode);
    c.move_mode->setChecked(mode.move_mode != 0);
  }
}

}  // namespace ms1
