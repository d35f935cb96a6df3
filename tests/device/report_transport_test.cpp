#include "device/report_transport.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "model/macro_report.h"
#include "model/report.h"

namespace ms1 {
namespace {

using std::chrono::milliseconds;
using test::FakeBle;
using test::FakeSink;
using test::RecordingPacer;

Report Lighting() {
  Report r = NewReport(command::kLighting, report_size::kLighting);
  r[2] = 1;
  return r;
}

Report Macro(uint8_t number) {
  Report r = NewReport(command::kMacro, report_size::kMacro);
  r[2] = number;
  for (std::size_t i = 3; i < r.size(); ++i) r[i] = static_cast<uint8_t>(i);
  return r;
}

class TransportTest : public ::testing::Test {
 protected:
  LinkState links;
  RecordingPacer pacer;
  FakeSink wired, receiver;
  FakeBle ble;
  std::vector<std::string> traces;
  ReportTransport transport{links, pacer};

  void SetUp() override {
    transport.SetWired(&wired);
    transport.SetReceiver(&receiver);
    transport.SetBluetooth(&ble);
    transport.SetTrace([this](const std::string& line) { traces.push_back(line); });
  }
  SendOutcome Send(const Report& r) { return transport.Send(r.data(), static_cast<int>(r.size())); }
  void ReceiverAwake() {
    links.receiverState = link_presence::kPresent;
    links.receiverAwake = 1;
  }
};

TEST_F(TransportTest, NoLinkReturnsZeroAtOnceAndCallsNothing) {
  links.receiverState = link_presence::kPresent;  // present but asleep counts as no link
  links.wiredState = link_presence::kRemoved;
  const SendOutcome out = Send(Lighting());
  EXPECT_EQ(out.result, 0);
  EXPECT_FALSE(out.link.has_value());
  EXPECT_TRUE(wired.sent.empty() && receiver.sent.empty() && ble.written.empty());
  EXPECT_TRUE(pacer.pauses.empty());
}

TEST_F(TransportTest, WiredComesFirstAndPausesAfterSuccessOnly) {
  links.wiredState = link_presence::kPresent;
  ReceiverAwake();
  links.bleConnected = 1;
  const SendOutcome ok = Send(Lighting());
  EXPECT_EQ(ok.result, 1);
  EXPECT_EQ(ok.link, ConnectionMode::kWired);
  EXPECT_EQ(pacer.pauses, (std::vector<milliseconds>{milliseconds(200)}));
  EXPECT_EQ(wired.sent, (std::vector<Report>{Lighting()}));

  // A wired failure is final: no pause, no other link.
  wired.result = 0;
  const SendOutcome failed = Send(Lighting());
  EXPECT_EQ(failed.result, 0);
  EXPECT_EQ(failed.link, ConnectionMode::kWired);
  EXPECT_EQ(pacer.pauses.size(), 1u);
  EXPECT_TRUE(receiver.sent.empty());
  EXPECT_TRUE(ble.written.empty());
}

TEST_F(TransportTest, WiredMacroGoesAsThreeChunksWithAPauseEach) {
  links.wiredState = link_presence::kPresent;
  const Report macro = Macro(3);
  const SendOutcome out = Send(macro);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.link, ConnectionMode::kWired);
  ASSERT_EQ(wired.sent.size(), 3u);
  EXPECT_EQ(wired.sent, WiredMacroChunks(macro));
  for (uint8_t n = 0; n < 3; ++n) {
    const Report& chunk = wired.sent[n];
    ASSERT_EQ(chunk.size(), 64u);
    EXPECT_EQ(chunk[0], 0x09);
    EXPECT_EQ(chunk[1], 0x40);
    EXPECT_EQ(chunk[2], 3);
    EXPECT_EQ(chunk[3], n);
  }
  EXPECT_EQ(wired.sent[1][4], macro[63]);       // second chunk starts at payload byte 60
  EXPECT_EQ(wired.sent[2][4 + 7], macro[130]);  // third holds the last 8 payload bytes
  EXPECT_EQ(wired.sent[2][4 + 8], 0);           // then zeros
  EXPECT_EQ(pacer.Total(), milliseconds(600));
}

TEST_F(TransportTest, EarlyChunkFailureStillSendsAllThreeAndTheLastDecides) {
  links.wiredState = link_presence::kPresent;
  ReceiverAwake();
  wired.script = {0, 0, 1};
  const SendOutcome out = Send(Macro(1));
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.link, ConnectionMode::kWired);
  EXPECT_EQ(wired.sent.size(), 3u);
  EXPECT_EQ(pacer.pauses.size(), 1u);
  EXPECT_TRUE(receiver.sent.empty());
}

TEST_F(TransportTest, FailedThirdChunkHandsTheWholeMacroToTheReceiver) {
  links.wiredState = link_presence::kPresent;
  ReceiverAwake();
  wired.script = {1, 1, 0};
  pacer.on_pause = [this](std::size_t) {
    if (!receiver.sent.empty()) links.ackReceived = 1;
  };
  const Report macro = Macro(2);
  const SendOutcome out = Send(macro);
  EXPECT_EQ(out.link, ConnectionMode::kReceiver);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(wired.sent.size(), 3u);
  EXPECT_EQ(receiver.sent, (std::vector<Report>{macro}));  // 131 bytes, not chunks
  EXPECT_EQ(pacer.pauses,
            (std::vector<milliseconds>{milliseconds(200), milliseconds(200), milliseconds(700)}));
}

TEST_F(TransportTest, FailedThirdChunkWithNothingElseReturnsZero) {
  links.wiredState = link_presence::kPresent;
  links.bleConnected = 1;
  wired.result = 0;
  ble.result = 0;
  const SendOutcome out = Send(Macro(1));
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(ble.written.size(), 1u);  // Bluetooth LE was tried with the whole report
  EXPECT_EQ(ble.written[0].size(), 131u);
  EXPECT_TRUE(pacer.pauses.empty());
}

// Over the receiver a report goes again after each 700 ms pause until the
// mouse acknowledges it, ten times at most. One the receiver took every time
// but the mouse never confirmed may or may not be held: it counts as lost.
TEST_F(TransportTest, TheReceiverSendsAgainUntilTheMouseAcknowledges) {
  const struct {
    const char* name;
    std::vector<int32_t> script;  // the receiver's results, then 1
    int acknowledged_in;          // the pause the acknowledgement comes in; -1: never
    std::size_t sends;
    int32_t result;  // the last send's
  } cases[] = {
      {"in the first pause", {}, 0, 1, 1},
      {"in the third pause", {}, 2, 3, 1},
      {"never, some sends refused", {1, 0, 1, 1, 1, 1, 1, 1, 1, 0}, -1, 10, 0},
      {"never, every send taken", {}, -1, 10, 1},
  };
  ReceiverAwake();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    receiver.sent.clear();
    receiver.script = c.script;
    pacer = RecordingPacer{};
    traces.clear();
    links.ackReceived = 1;  // stale: cleared before the first attempt
    pacer.on_pause = [&](std::size_t index) {
      if (static_cast<int>(index) == c.acknowledged_in) links.ackReceived = 1;
    };
    const SendOutcome out = Send(Lighting());
    EXPECT_EQ(out.result, c.result);
    EXPECT_EQ(out.link, ConnectionMode::kReceiver);
    EXPECT_EQ(out.unacknowledged, c.acknowledged_in < 0);
    EXPECT_EQ(out.Lost(), c.acknowledged_in < 0);
    EXPECT_EQ(receiver.sent.size(), c.sends);
    EXPECT_EQ(pacer.pauses, std::vector<milliseconds>(c.sends, milliseconds(700)));
    EXPECT_EQ(pacer.Total(), c.sends * milliseconds(700));
    std::vector<std::string> expected_traces;
    for (std::size_t i = 0; i < c.sends; ++i) {
      const int32_t result = i < c.script.size() ? c.script[i] : 1;
      expected_traces.push_back("Wireless Send = " + std::to_string(result));
    }
    EXPECT_EQ(traces, expected_traces);
  }
}

TEST_F(TransportTest, SleepingReceiverLeavesTheReportToBluetooth) {
  links.receiverState = link_presence::kPresent;
  links.bleConnected = 1;
  const SendOutcome out = Send(Lighting());
  EXPECT_EQ(out.link, ConnectionMode::kBluetooth);
  EXPECT_EQ(out.result, 1);
  EXPECT_TRUE(receiver.sent.empty());
  EXPECT_EQ(ble.written, (std::vector<Report>{Lighting()}));
  EXPECT_EQ(pacer.pauses, (std::vector<milliseconds>{milliseconds(500)}));

  ble.result = 0;  // a failed write costs no pause
  EXPECT_EQ(Send(Lighting()).result, 0);
  EXPECT_EQ(pacer.pauses.size(), 1u);
}

TEST_F(TransportTest, PollingRateNeverGoesOverBluetooth) {
  links.bleConnected = 1;
  const Report polling = NewReport(command::kPollingRate, report_size::kPollingRate);
  const SendOutcome out = Send(polling);
  EXPECT_EQ(out.result, 0);
  EXPECT_TRUE(out.not_for_link);  // skipped, not lost: the apply still counts as complete
  EXPECT_FALSE(out.Lost());
  EXPECT_TRUE(ble.written.empty());
  EXPECT_TRUE(pacer.pauses.empty());

  links.wiredState = link_presence::kPresent;  // the cable takes it
  EXPECT_EQ(Send(polling).link, ConnectionMode::kWired);
}

TEST_F(TransportTest, LinkThatVanishedFromUnderTheTransportFailsSafely) {
  links.wiredState = link_presence::kPresent;
  transport.SetWired(nullptr);
  EXPECT_EQ(Send(Lighting()).result, 0);
  EXPECT_TRUE(pacer.pauses.empty());
}

TEST_F(TransportTest, SomethingTooShortToBeAReportIsRefused) {
  links.wiredState = link_presence::kPresent;
  const uint8_t two[] = {0x09, 0x02};
  EXPECT_EQ(transport.Send(two, 2).result, 0);
  EXPECT_EQ(transport.SendReport(nullptr, 10), 0);
  EXPECT_TRUE(wired.sent.empty());
}

}  // namespace
}  // namespace ms1
