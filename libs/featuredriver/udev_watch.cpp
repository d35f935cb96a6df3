#include "libs/featuredriver/udev_watch.h"

#include <cerrno>
#include <string>

namespace ms1::hiddriver {

bool UdevWatch::Start(uint16_t vendor_id, uint16_t product_id, OnPresence on_presence) {
  Stop();
  vendor_id_ = vendor_id;
  product_id_ = product_id;
  on_presence_ = std::move(on_presence);
  hidraw_ = std::make_unique<HidrawUdev>();
  wake_ = std::make_unique<WakeEvent>();
  if (!hidraw_->ok() || !wake_->Valid()) {
    Release();
    return false;
  }
  // Nodes already there are known, so a later removal is recognised; they
  // are not announced: the program opens the device itself at start.
  tracker_ = PresenceTracker();
  SeedFromPresentNodes();
  thread_ = std::thread([this] { Loop(); });
  return true;
}

void UdevWatch::Stop() {
  if (thread_.joinable()) {
    wake_->Signal();
    thread_.join();
  }
  Release();
}

void UdevWatch::Release() {
  hidraw_.reset();
  wake_.reset();
}

bool UdevWatch::Matches(const HidrawNode& node) const {
  const auto id = ParseHidId(node.hid_id.c_str());
  return id && id->vendor_id == vendor_id_ && id->product_id == product_id_;
}

void UdevWatch::SeedFromPresentNodes() {
  for (const HidrawNode& node : hidraw_->PresentNodes()) {
    if (Matches(node)) tracker_.NodeAdded(node.syspath);
  }
}

void UdevWatch::Loop() {
  for (;;) {
    pollfd fds[2] = {wake_->PollEntry(), {hidraw_->fd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    if (!(fds[1].revents & POLLIN)) continue;
    const std::optional<HidrawChange> change = hidraw_->ReadChange();
    if (!change || change->node.syspath.empty()) continue;
    // A removed node's parent may already be gone: removal goes by the
    // nodes seen arriving, not by the device's ids.
    const std::string& syspath = change->node.syspath;
    if (change->action == "add" && Matches(change->node) && tracker_.NodeAdded(syspath)) {
      on_presence_(true);
    } else if (change->action == "remove" && tracker_.NodeRemoved(syspath)) {
      on_presence_(false);
    }
  }
}

}  // namespace ms1::hiddriver
