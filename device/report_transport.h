// SendReport: hands one encoded report to the link usable at that moment, in a
// fixed priority (wired, receiver while the mouse is awake, Bluetooth LE), with
// each link's pacing and the receiver's acknowledged retries.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "device/link_state.h"
#include "device/pacer.h"
#include "device/report_sinks.h"

namespace ms1 {

namespace transport {
using std::chrono::milliseconds;
inline constexpr milliseconds kWiredPause{200};
inline constexpr milliseconds kReceiverPause{700};
inline constexpr milliseconds kBluetoothPause{500};
inline constexpr int kReceiverAttempts = 10;
}  // namespace transport

class ReportTransport final : public ReportSender {
 public:
  using Trace = std::function<void(const std::string& line)>;

  // `links` is read afresh at every test; ackReceived is cleared and watched.
  ReportTransport(LinkState& links, Pacer& pacer);

  // The link ends may be set or replaced while the worker runs (the libraries
  // are loaded after it starts). Null means the end is not there.
  void SetWired(FeatureSink* sink) { wired_.store(sink); }
  void SetReceiver(FeatureSink* sink) { receiver_.store(sink); }
  void SetBluetooth(BleWriter* writer) { bluetooth_.store(writer); }
  // Where the "Wireless Send = %d" trace goes (standard error by default).
  // Set before the first send.
  void SetTrace(Trace trace) { trace_ = std::move(trace); }

  SendOutcome Send(const uint8_t* report, int length) override;

 private:
  std::optional<SendOutcome> SendWired(const uint8_t* report, int length);
  SendOutcome SendOverReceiver(const uint8_t* report, int length);
  int32_t SetFeatureOn(const std::atomic<FeatureSink*>& end, const uint8_t* report, int length);

  LinkState& links_;
  Pacer& pacer_;
  std::atomic<FeatureSink*> wired_{nullptr};
  std::atomic<FeatureSink*> receiver_{nullptr};
  std::atomic<BleWriter*> bluetooth_{nullptr};
  Trace trace_;
};

}  // namespace ms1
