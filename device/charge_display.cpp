#include "device/charge_display.h"

namespace ms1 {

void ChargeDisplay::Start() {
  value_ = 0;
  running_ = true;
  view_.SetPowerLabelKey("charging_text");
  // The battery level shown until now is no longer true.
  view_.SetChargeSweep(value_);
  view_.StartChargeAnimationTimer();
}

void ChargeDisplay::Stop() {
  running_ = false;
  view_.SetPowerLabelText("");
  view_.StopChargeAnimationTimer();
}

void ChargeDisplay::Tick() {
  view_.SetChargeSweep(value_);
  value_ += 2;
  if (value_ > 100) value_ = 0;
}

}  // namespace ms1
