#include "ui/page_window_bridge.h"

#include <QThread>
#include <QWidget>

#include "device/messages.h"
#include "ui/device_page.h"

namespace ms1 {

PageWindowBridge::PageWindowBridge(PageHost& host, QWidget* apply_ring)
    : host_(host), apply_ring_(apply_ring) {}

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
  QMetaObject::invokeMethod(&context_, std::move(work), Qt::QueuedConnection);
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

void PageWindowBridge::OnInterfaceThread(std::function<void()> work) {
  if (QThread::currentThread() == context_.thread()) {
    work();
  } else {
    RunOnInterfaceThread(std::move(work));
  }
}

}  // namespace ms1
