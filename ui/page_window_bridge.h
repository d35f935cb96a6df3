// The device page's way into the main window for the link, event and apply
// code: posting, the window's timers and work run on the interface thread.
// The worker calls ApplyHost from its own thread; those calls are carried over
// to the interface thread, where the timers and controls live.
#pragma once

#include <QThread>
#include <functional>
#include <memory>

#include "device/apply_engine.h"
#include "device/link_host.h"

namespace ms1 {

class PageHost;

class PageWindowBridge final : public LinkHost, public ApplyHost {
 public:
  // `apply_ring` is shown during an apply, `unsent_notice` while edits wait
  // for a link; either may be null.
  PageWindowBridge(PageHost& host, QWidget* apply_ring, QWidget* unsent_notice);
  // Work still queued for the page is dropped from here on.
  ~PageWindowBridge() override;

  // LinkHost
  void PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void StartTimer(int id, std::chrono::milliseconds period) override;
  void StopTimer(int id) override;
  void RunOnInterfaceThread(std::function<void()> work) override;
  void RunLater(std::chrono::milliseconds delay, std::function<void()> work) override;

  // ApplyHost
  void StopHeartbeat() override;
  void StartHeartbeat(std::chrono::milliseconds period) override;
  void ShowApplyProgress(bool visible) override;
  void ShowUnsentEdits(bool unsent) override;

 private:
  // Runs now when called on the interface thread, else queued to it.
  void OnInterfaceThread(std::function<void()> work);

  PageHost& host_;
  QWidget* apply_ring_;
  QWidget* unsent_notice_;
  QThread* interface_thread_;
  // Read and cleared on the interface thread only: queued work runs there.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ms1
