#include "ui/page_link_view.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QString>

#include "device/messages.h"
#include "platform/notification_pump.h"
#include "platform/resource_text.h"
#include "platform/ring_progress.h"
#include "ui/device_page.h"
#include "ui/page_controls.h"
#include "ui/page_settings_view.h"

namespace ms1 {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetChecked(QAbstractButton* button, bool checked, bool notify) {
  if (button == nullptr) return;
  const QSignalBlocker quiet(notify ? nullptr : button);
  button->setChecked(checked);
}

}  // namespace

void PageLinkView::ShowLinkIcon(ConnectionMode link, bool visible) {
  switch (link) {
    case ConnectionMode::kWired:
      SetShown(page_.controls.wired_icon, visible);
      break;
    case ConnectionMode::kReceiver:
      SetShown(page_.controls.receiver_icon, visible);
      break;
    case ConnectionMode::kBluetooth:
      SetShown(page_.controls.bluetooth_icon, visible);
      break;
  }
}

void PageLinkView::ShowSleepLabel(bool visible) {
  SetShown(page_.controls.sleep_label, visible);
}

void PageLinkView::ShowLightingControls() {
  SetShown(page_.controls.light_effect, true);
  UpdateLightingRows(page_.controls, page_.light_effect());
}

void PageLinkView::ShowPollingRateToggle(bool visible) {
  QCheckBox* check = page_.controls.polling_rate().check;
  if (!visible) {
    if (check != nullptr && check->isChecked()) SetChecked(check, false, false);
    SetShown(page_.controls.polling_rate().container, false);
  }
  SetShown(check, visible);
}

void PageLinkView::ShowPowerToggle(bool visible) {
  SetShown(page_.controls.power().check, visible);
}

void PageLinkView::ShowPowerPanel(bool visible) {
  SetShown(page_.controls.power().container, visible);
}

void PageLinkView::SetPowerRing(int value) {
  QProgressBar* ring = page_.controls.power_ring;
  if (ring == nullptr) return;
  ring->setTextVisible(true);
  ring->setValue(value);
}

void PageLinkView::ShowBatteryLevel(int percent) {
  page_.host.ShowBatteryLevel(percent);
}

void PageLinkView::SetChargeSweep(int value) {
  QProgressBar* ring = page_.controls.power_ring;
  if (ring == nullptr) return;
  ring->setTextVisible(false);
  SetValueDeferred(ring, value);  // a frame every 30 ms: no wait for the X server
}

void PageLinkView::SetPowerLabelKey(std::string_view language_key) {
  QLabel* label = page_.controls.power_label;
  if (label == nullptr) return;
  SetResourceText(label, true);
  SetControlText(label, ToQString(language_key));
}

void PageLinkView::SetPowerLabelText(std::string_view text) {
  QLabel* label = page_.controls.power_label;
  if (label == nullptr) return;
  SetResourceText(label, false);
  SetControlText(label, ToQString(text));
}

void PageLinkView::StartChargeAnimationTimer() {
  QProgressBar* ring = page_.controls.power_ring;
  if (ring != nullptr && page_.host.ControlTimers() != nullptr) {
    // The sweep costs nothing while nobody can see it.
    page_.host.ControlTimers()->SetAnimationTimer(
        ring, timer::kChargeAnimation, static_cast<int>(period::kChargeAnimation.count()));
  }
}

void PageLinkView::StopChargeAnimationTimer() {
  QProgressBar* ring = page_.controls.power_ring;
  if (ring != nullptr && page_.host.ControlTimers() != nullptr) {
    page_.host.ControlTimers()->KillTimer(ring, timer::kChargeAnimation);
  }
}

void PageLinkView::SelectDpiLevelOption(int level) {
  if (level >= 1 && level <= kPageDpiLevelCount) {
    SetChecked(page_.controls.dpi_options[level - 1], true, false);
  }
}

void PageLinkView::SelectModeOptionNotifying(int mode) {
  if (mode >= 0 && mode < kPageModeOptionCount) {
    SetChecked(page_.controls.mode_options[mode], true, true);
  }
}

}  // namespace ms1
