#include "ui/page_window_bridge.h"

#include <QWidget>

#include "device/messages.h"
#include "ui/device_page.h"

namespace ms1 {

PageWindowBridge::PageWindowBridge(PageHost& host, QWidget* apply_ring, QWidget* unsent_notice)
    : host_(host),
      apply_ring_(apply_ring),
      unsent_notice_(unsent_notice),
      interface_thread_(QThread::currentThread()) {}

PageWindowBridge::~PageWindowBridge() {
  *alive_ = false;
}

void PageWindowBridge::PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  host_.Messages().Post(message, wParam, lParam);
}

void PageWindowBridge::StartTimer(int id, std::chrono::milliseconds period) {
  OnInterfaceThread(
      [this, id, period] { host_.Messages().SetTimer(id, static_cast<int>(period.count())); });
}

void PageWindowBridge::StopTimer(int id) {
  OnInterfaceThread([this, id] { host_.Messages().KillTimer(id); });
}

void PageWindowBridge::RunOnInterfaceThread(std::function<void()> work) {
  // Through the window's own queue: plain locking, in order with the messages.
  host_.Messages().PostWork([alive = alive_, work = std::move(work)] {
    if (*alive) work();
  });
}

void PageWindowBridge::RunLater(std::chrono::milliseconds delay, std::function<void()> work) {
  OnInterfaceThread([this, delay, alive = alive_, work = std::move(work)]() mutable {
    host_.Messages().RunLater(static_cast<int>(delay.count()),
                              [alive = std::move(alive), work = std::move(work)] {
                                if (*alive) work();
                              });
  });
}

void PageWindowBridge::StopHeartbeat() {
  StopTimer(timer::kReceiverHeartbeat);
}

void PageWindowBridge::StartHeartbeat(std::chrono::milliseconds period) {
  StartTimer(timer::kReceiverHeartbeat, period);
}

void PageWindowBridge::ShowApplyProgress(bool visible) {
  if (apply_ring_ == nullptr) return;
  OnInterfaceThread([this, visible] { apply_ring_->setVisible(visible); });
}

void PageWindowBridge::ShowUnsentEdits(bool unsent) {
  if (unsent_notice_ == nullptr) return;
  OnInterfaceThread([this, unsent] { unsent_notice_->setVisible(unsent); });
}

void PageWindowBridge::OnInterfaceThread(std::function<void()> work) {
  if (QThread::currentThread() == interface_thread_) {
    work();
  } else {
    RunOnInterfaceThread(std::move(work));
  }
}

}  // namespace ms1
