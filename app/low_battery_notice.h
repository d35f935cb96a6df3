// One desktop notification when the wireless mouse's battery falls to a low
// level, and none again until it has been above that level: a level that
// wavers at the edge must not tell the user every minute.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace ms1 {

class LowBatteryNotice {
 public:
  // The mouse reports its battery in tenths; at two tenths it has hours of
  // play left, enough to finish a game and plug it in.
  static constexpr int kLowPercent = 20;

  using Send = std::function<void(int percent)>;
  explicit LowBatteryNotice(Send send) : send_(std::move(send)) {}

  // Every battery level the mouse reports; none when no mouse reports one.
  void Update(std::optional<int> percent);

  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

 private:
  Send send_;
  bool enabled_ = true;
  bool told_ = false;  // since the level was last above kLowPercent
};

// Sends the notice through the desktop's notification service on the
// session bus, without waiting for it; nothing happens without one.
void NotifyLowBattery(int percent);

}  // namespace ms1
