#include "device/report_transport.h"

#include <cstdio>

#include "model/macro_report.h"
#include "model/report.h"

namespace ms1 {

namespace {

void TraceToStandardError(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
}

// The smallest report the encoders make is 9 bytes; anything without the
// command, length and macro number bytes is not a report at all.
constexpr int kMinimumReportLength = 3;

}  // namespace

ReportTransport::ReportTransport(LinkState& links, Pacer& pacer)
    : links_(links), pacer_(pacer), trace_(TraceToStandardError) {}

int32_t ReportTransport::SetFeatureOn(const std::atomic<FeatureSink*>& end, const uint8_t* report,
                                      int length) {
  FeatureSink* sink = end.load();
  return sink == nullptr ? 0 : sink->SetFeature(report, length);
}

SendOutcome ReportTransport::Send(const uint8_t* report, int length) {
  if (report == nullptr || length < kMinimumReportLength) return {};
  const uint8_t type = report[0];

  if (links_.wiredState.load() == link_presence::kPresent) {
    if (auto delivered = SendWired(report, length)) return *delivered;
  }
  if (links_.receiverState.load() == link_presence::kPresent && links_.receiverAwake.load() != 0) {
    return SendOverReceiver(report, length);
  }
  if (links_.bleConnected.load() != 0) {
    if (type == command::kPollingRate) return {0, ConnectionMode::kBluetooth, true};
    BleWriter* writer = bluetooth_.load();
    const int result = writer == nullptr ? 0 : writer->WriteReport(report, length);
    if (result != 0) pacer_.Pause(transport::kBluetoothPause);
    return {result, ConnectionMode::kBluetooth};
  }
  return {};
}

// Returns no outcome only when a macro report should go on to the other links.
std::optional<SendOutcome> ReportTransport::SendWired(const uint8_t* report, int length) {
  if (report[0] != command::kMacro) {
    const int32_t result = SetFeatureOn(wired_, report, length);
    if (result != 0) pacer_.Pause(transport::kWiredPause);
    return SendOutcome{result, ConnectionMode::kWired};
  }
  // The wired library takes 64-byte reports only: the macro goes in three chunks,
  // all of them sent whatever the earlier ones gave.
  const Report whole(report, report + length);
  int32_t result = 0;
  for (const Report& chunk : WiredMacroChunks(whole)) {
    result = SetFeatureOn(wired_, chunk.data(), static_cast<int>(chunk.size()));
    if (result != 0) pacer_.Pause(transport::kWiredPause);
  }
  if (result != 0) return SendOutcome{result, ConnectionMode::kWired};
  return std::nullopt;
}

SendOutcome ReportTransport::SendOverReceiver(const uint8_t* report, int length) {
  links_.ackReceived.store(0);
  int32_t result = 0;
  for (int attempt = 0; attempt < transport::kReceiverAttempts; ++attempt) {
    if (links_.ackReceived.load() != 0) break;
    // Pulled, or closed as the session stops: no retry can reach the mouse.
    if (links_.receiverState.load() != link_presence::kPresent) break;
    result = SetFeatureOn(receiver_, report, length);
    trace_("Wireless Send = " + std::to_string(result));
    pacer_.Pause(transport::kReceiverPause);
  }
  SendOutcome outcome{result, ConnectionMode::kReceiver};
  outcome.unacknowledged = links_.ackReceived.load() == 0;
  return outcome;
}

}  // namespace ms1
