// The state of the three links to the mouse. The interface thread (plug and
// data messages) and the Bluetooth notification thread write these fields
// while the worker reads them between reports, so each one is an atomic that
// is read afresh at every test.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "model/protocol/link_ids.h"

namespace ms1 {

// Values of wiredState and receiverState.
namespace link_presence {
inline constexpr int kNeverSeen = 0;
inline constexpr int kPresent = 1;
inline constexpr int kRemoved = 2;
}  // namespace link_presence

struct LinkState {
  std::atomic<int> wiredState{link_presence::kNeverSeen};
  std::atomic<int> receiverState{link_presence::kNeverSeen};
  std::atomic<int> receiverAwake{0};  // a status event came over the receiver lately
  std::atomic<int> bleConnected{0};
  std::atomic<int> devicePresent{0};
  std::atomic<int> mouseAsleep{1};  // applies do nothing while set
  std::atomic<int> ackReceived{0};  // the mouse acknowledged a receiver report

  // Whether the link is there: plugged (cable, receiver) or connected (Bluetooth LE).
  bool Present(ConnectionMode link) const {
    switch (link) {
      case ConnectionMode::kWired:
        return wiredState.load() == link_presence::kPresent;
      case ConnectionMode::kReceiver:
        return receiverState.load() == link_presence::kPresent;
      case ConnectionMode::kBluetooth:
        return bleConnected.load() != 0;
    }
    return false;
  }
  // True while a report could go anywhere: the condition for running an apply.
  bool AnyLinkOpen() const {
    for (ConnectionMode link : kAllLinks) {
      if (Present(link)) return true;
    }
    return false;
  }
  // The names (LinkName) of the links present, in the order of kAllLinks.
  std::vector<std::string> PresentLinkNames() const {
    std::vector<std::string> names;
    for (ConnectionMode link : kAllLinks) {
      if (Present(link)) names.emplace_back(LinkName(link));
    }
    return names;
  }
};

}  // namespace ms1
