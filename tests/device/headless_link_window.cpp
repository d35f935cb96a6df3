#include "headless_link_window.h"

#include "device/device_event.h"
#include "device/messages.h"

namespace ms1 {

void HeadlessLinkWindow::Post(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto* self = static_cast<HeadlessLinkWindow*>(context);
  {
    std::lock_guard lock(self->mutex_);
    self->Track(message, wParam, lParam);
  }
  self->changed_.notify_all();
}

void HeadlessLinkWindow::Track(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool wired = msg::IsWiredMessage(message);
  if (msg::IsPlugMessage(message)) {
    // A link that goes away mid-apply must not be used any further.
    if (wParam == 0) (wired ? links_.wiredState : links_.receiverState) = link_presence::kRemoved;
    return;
  }
  const auto [code, value] = DataEvent(wParam, lParam);
  if (code == event::kAcknowledge) links_.ackReceived = AcknowledgeAccepted(value) ? 1 : 0;
  if (code == event::kStatus && !wired) links_.receiverAwake = 1;
}

bool HeadlessLinkWindow::WaitUntil(const std::function<bool()>& done,
                                   std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, done);
}

}  // namespace ms1
