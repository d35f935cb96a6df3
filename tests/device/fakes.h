// Test doubles for the device link: pauses that do not sleep, driver ends that
// record what they were given, a recording window side and profile store.
#pragma once

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/apply_engine.h"
#include "device/pacer.h"
#include "device/report_sinks.h"
#include "device/report_transport.h"
#include "model/profile.h"
#include "model/report.h"

namespace ms1::test {

using std::chrono::milliseconds;

// Records every pause instead of sleeping; a hook may act at a pause (deliver
// an acknowledgement, edit the profile, post a request).
class RecordingPacer final : public Pacer {
 public:
  std::vector<milliseconds> pauses;
  std::function<void(std::size_t index)> on_pause;

  void Pause(milliseconds duration) override {
    pauses.push_back(duration);
    elapsed_ += duration;
    if (on_pause) on_pause(pauses.size() - 1);
  }
  std::chrono::steady_clock::time_point Now() const override {
    return std::chrono::steady_clock::time_point{} + elapsed_;
  }
  milliseconds Total() const { return elapsed_; }

 private:
  milliseconds elapsed_{0};
};

// A driver's SetFeature: answers from a script of results (then `result`).
class FakeSink final : public FeatureSink {
 public:
  std::vector<Report> sent;
  std::vector<int32_t> script;
  int32_t result = 1;

  int32_t SetFeature(const uint8_t* report, int32_t length) override {
    sent.emplace_back(report, report + length);
    return sent.size() <= script.size() ? script[sent.size() - 1] : result;
  }
};

class FakeBle final : public BleWriter {
 public:
  std::vector<Report> written;
  int result = 1;
  int WriteReport(const uint8_t* report, int length) override {
    written.emplace_back(report, report + length);
    return result;
  }
};

// Records the reports an apply hands to the transport; answers from a script
// of results (then `result`), as a transport would.
class RecordingSender final : public ReportSender {
 public:
  std::vector<Report> sent;
  std::vector<int> script;
  int result = 1;
  std::optional<uint8_t> left_out_command;  // a kind the link does not take
  std::function<void(const Report&)> on_send;
  SendOutcome Send(const uint8_t* report, int length) override {
    sent.emplace_back(report, report + length);
    if (on_send) on_send(sent.back());
    if (report[0] == left_out_command) return {0, std::nullopt, true};
    return {sent.size() <= script.size() ? script[sent.size() - 1] : result};
  }
};

// The window side: a log of what the apply asked for, in order.
class RecordingHost final : public ApplyHost {
 public:
  void StopHeartbeat() override { Add("stop-heartbeat"); }
  void StartHeartbeat(milliseconds period) override {
    Add("start-heartbeat " + std::to_string(period.count()));
  }
  void ShowApplyProgress(bool visible) override { Add(visible ? "show-ring" : "hide-ring"); }
  // Kept apart from the events: it is a state the window shows, not a step.
  void ShowUnsentEdits(bool unsent) override { unsent_shown = unsent; }
  std::atomic<bool> unsent_shown{false};
  void Add(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
};

// Keeps the last saved list; notices two saves running at once.
class FakeStore final : public ProfileStoreWriter {
 public:
  std::atomic<int> saves{0};
  std::atomic<bool> overlapped{false};
  std::atomic<bool> fail{false};  // the write fails (after it was counted)
  std::function<void()> on_save;
  std::atomic<int> marked{-1};  // the mark of unsent edits: -1 never told

  void MarkUnsentEdits(bool unsent) override { marked = unsent ? 1 : 0; }
  bool Save(const ProfileList& profiles, int selected) override {
    if (inside_.fetch_add(1) != 0) overlapped = true;
    {
      std::lock_guard lock(mutex_);
      last_.clear();
      for (const auto& p : profiles) last_.push_back(CopyProfile(*p));
      last_selected_ = selected;
    }
    if (on_save) on_save();
    ++saves;
    inside_.fetch_sub(1);
    return !fail;
  }
  int LastSelected() const {
    std::lock_guard lock(mutex_);
    return last_selected_;
  }
  std::size_t LastCount() const {
    std::lock_guard lock(mutex_);
    return last_.size();
  }

 private:
  std::atomic<int> inside_{0};
  mutable std::mutex mutex_;
  ProfileList last_;
  int last_selected_ = -1;
};

inline bool SameProfile(const ProfileRecord& a, const ProfileRecord& b) {
  return std::memcmp(&a, &b, sizeof(ProfileRecord)) == 0;
}

// The page as the program starts with these profiles: the first selected, a
// full apply due.
inline void LoadProfiles(PageModel& model, std::initializer_list<const char16_t*> names) {
  model.With([&](PageState& s) {
    for (const char16_t* name : names) s.profiles.push_back(CreateProfile(name));
    s.selected = 0;
    s.force_full_apply = true;
  });
}

// The command byte of each report, in order.
inline std::vector<uint8_t> Commands(const std::vector<Report>& reports) {
  std::vector<uint8_t> out;
  for (const Report& r : reports) out.push_back(r[0]);
  return out;
}

// The links of a mouse that is awake on the cable.
struct AwakeOnTheCable {
  LinkState links;
  AwakeOnTheCable() {
    links.wiredState = link_presence::kPresent;
    links.mouseAsleep = 0;
  }
};

// A page whose mouse is awake on the wired link; the apply's reports go to a
// recording sender.
struct ApplyRig : AwakeOnTheCable {
  PageModel model;
  RecordingSender sender;
  RecordingHost host;
  FakeStore store;
  ApplyEngine engine{model, links, sender, host, store};
};

// The same page sending through the real transport to a wired fake.
struct WiredApplyRig : AwakeOnTheCable {
  RecordingPacer pacer;
  FakeSink wired;
  ReportTransport transport{links, pacer};
  PageModel model;
  RecordingHost host;
  FakeStore store;
  ApplyEngine engine{model, links, transport, host, store};
  WiredApplyRig() { transport.SetWired(&wired); }
};

}  // namespace ms1::test
