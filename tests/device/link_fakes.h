// Recording fakes of the window side, for the link and event tests.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../libs/test_window.h"
#include "device/connection_manager.h"
#include "device/link_host.h"
#include "device/link_view.h"
#include "fakes.h"

namespace ms1::test {

// Records every call as a short line, so tests compare what the screen went through.
class RecordingLinkView : public LinkView {
 public:
  std::vector<std::string> calls;
  std::map<ConnectionMode, bool> icons;
  bool sleep_label = false;
  int ring = 0;
  bool ring_percentage = false;  // the ring shows its value as a percentage
  std::string label;
  bool charge_timer = false;

  std::vector<std::string> Take() { return std::exchange(calls, {}); }

  void ShowLinkIcon(ConnectionMode link, bool visible) override {
    icons[link] = visible;
    Record(std::string("icon ") + ConnectionModeName(link) + (visible ? " on" : " off"));
  }
  void ShowSleepLabel(bool visible) override {
    sleep_label = visible;
    Record(visible ? "sleep on" : "sleep off");
  }
  void ShowLightingControls() override { Record("lighting"); }
  void ShowPollingRateToggle(bool v) override { Record(v ? "prate on" : "prate off"); }
  void ShowPowerToggle(bool v) override { Record(v ? "power-toggle on" : "power-toggle off"); }
  void ShowPowerPanel(bool v) override { Record(v ? "power-panel on" : "power-panel off"); }
  void SetPowerRing(int value) override {
    ring = value;
    ring_percentage = true;
    Record("ring " + std::to_string(value));
  }
  void SetChargeSweep(int value) override {
    ring = value;
    ring_percentage = false;
    Record("sweep " + std::to_string(value));
  }
  void SetPowerLabelKey(std::string_view key) override {
    label = "[" + std::string(key) + "]";
    Record("label " + label);
  }
  void SetPowerLabelText(std::string_view text) override {
    label = std::string(text);
    Record("label " + label);
  }
  void ShowBatteryLevel(int percent) override { Record("battery " + std::to_string(percent)); }
  void StartChargeAnimationTimer() override {
    charge_timer = true;
    Record("charge start");
  }
  void StopChargeAnimationTimer() override {
    charge_timer = false;
    Record("charge stop");
  }
  void SelectDpiLevelOption(int level) override { Record("dpi-option " + std::to_string(level)); }
  void RefreshPage() override { Record("refresh"); }
  void SelectModeOptionNotifying(int mode) override {
    Record("mode-option " + std::to_string(mode));
  }

 private:
  void Record(std::string line) { calls.push_back(std::move(line)); }
};

class FakeLinkHost : public LinkHost {
 public:
  std::vector<PostedMessage> posts;
  std::map<int, std::chrono::milliseconds> running_timers;
  std::vector<std::string> timer_calls;
  std::deque<std::function<void()>> interface_work;

  void PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    posts.push_back({message, wParam, lParam});
  }
  void StartTimer(int id, std::chrono::milliseconds period) override {
    running_timers[id] = period;
    timer_calls.push_back("start " + std::to_string(id));
  }
  void StopTimer(int id) override {
    running_timers.erase(id);
    timer_calls.push_back("stop " + std::to_string(id));
  }
  void RunOnInterfaceThread(std::function<void()> work) override {
    interface_work.push_back(std::move(work));
  }
  // Settling pauses and other waits, in call order; run by RunDelayed.
  std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> delayed;
  void RunLater(std::chrono::milliseconds delay, std::function<void()> work) override {
    delayed.emplace_back(delay, std::move(work));
  }
  // Lets every wait end (and those the waits start).
  void RunDelayed() {
    while (!delayed.empty()) {
      auto work = std::move(delayed.front().second);
      delayed.erase(delayed.begin());
      work();
    }
  }
  std::vector<std::chrono::milliseconds> Delays() const {
    std::vector<std::chrono::milliseconds> delays;
    for (const auto& d : delayed) delays.push_back(d.first);
    return delays;
  }
  void RunInterfaceWork() {
    while (!interface_work.empty()) {
      auto work = std::move(interface_work.front());
      interface_work.pop_front();
      work();
    }
  }
  int CountPosts(uint32_t message) const {
    int n = 0;
    for (const PostedMessage& p : posts) n += p.message == message;
    return n;
  }
};

class RecordingBluetooth : public BluetoothControl {
 public:
  std::vector<std::string> calls;
  void Connect(std::string_view vendor, std::string_view product) override {
    calls.push_back("connect " + std::string(vendor) + " " + std::string(product));
  }
  void Disconnect() override { calls.push_back("disconnect"); }
};

}  // namespace ms1::test
