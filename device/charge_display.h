// The charging display of the wired link: a ring sweeping 0..100 in steps of
// two every 30 ms, under the language text "charging_text".
#pragma once

#include "device/link_view.h"

namespace ms1 {

class ChargeDisplay {
 public:
  explicit ChargeDisplay(LinkView& view) : view_(view) {}

  // Starts a sweep from 0; the ring shows no percentage from now on.
  void Start();
  // Clears the label and stops the timer; the ring keeps its last value,
  // still without a percentage.
  void Stop();
  // One timer tick.
  void Tick();

  int value() const { return value_; }
  bool running() const { return running_; }

 private:
  LinkView& view_;
  int value_ = 0;
  bool running_ = false;
};

}  // namespace ms1
