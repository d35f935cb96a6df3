// ApplyConfiguration: sends what changed since the last apply (or everything
// when a full apply is forced), then saves the store and, when every report
// arrived, moves the diff base; otherwise the next apply is a full one.
// Runs on the page worker; reaches the interface only through ApplyHost.
#pragma once

#include <atomic>
#include <chrono>

#include "device/link_state.h"
#include "device/page_model.h"
#include "device/report_sinks.h"

namespace ms1 {

// The window side of an apply. Calls come from the worker thread: an
// implementation posts them to the interface thread, never touches a control.
class ApplyHost {
 public:
  virtual ~ApplyHost() = default;
  virtual void StopHeartbeat() = 0;
  virtual void StartHeartbeat(std::chrono::milliseconds period) = 0;
  virtual void ShowApplyProgress(bool visible) = 0;  // the "apply_ring" control
  // Edits wait for a link that can take them: the window says so until an
  // apply has sent them.
  virtual void ShowUnsentEdits(bool unsent) = 0;
};

enum class ApplyOutcome {
  kDone,
  // The mouse changed a setting with its own buttons while the apply ran, and
  // a later report of the apply put the old value back: one more apply sends
  // the mouse's choice, which the window already shows.
  kSendAgain,
};

class ApplyEngine {
 public:
  ApplyEngine(PageModel& model, const LinkState& links, ReportSender& sender, ApplyHost& host,
              ProfileStoreWriter& store)
      : model_(model), links_(links), sender_(sender), host_(host), store_(store) {}

  ApplyOutcome ApplyConfiguration();

  // An apply was asked for while no link was open: what waits stays unsent.
  void NoteNoLink();
  // The unsent edits the window tells of may have become moot (the mouse
  // took the same values with its own buttons): the notice goes if so.
  void RefreshUnsentNotice();

 private:
  void TellUnsent(bool unsent);

  PageModel& model_;
  const LinkState& links_;
  ReportSender& sender_;
  ApplyHost& host_;
  ProfileStoreWriter& store_;
  std::atomic<bool> unsent_told_{false};
};

}  // namespace ms1
