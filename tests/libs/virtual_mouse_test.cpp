// The simulated mouse in-process: what it accepts, refuses, keeps and reports.
#include "libs/virtualmouse/virtual_mouse.h"

#include <gtest/gtest.h>

#include "apply_helpers.h"
#include "libs/virtualmouse/hex_text.h"
#include "model/settings_reports.h"
#include "sample_profiles.h"
#include "support/hex.h"

namespace ms1::vmouse {
namespace {

using test::Hex;
using Kind = LinkEvent::Kind;
using enum ConnectionMode;

class VirtualMouseTest : public ::testing::Test {
 protected:
  VirtualMouse mouse;
  std::unique_ptr<ProfileRecord> profile = CreateProfile(u"P");

  void SetUp() override {
    mouse.SetPlugged(kWired, true);
    mouse.SetPlugged(kReceiver, true);
  }
  Delivery Send(ConnectionMode link, const Bytes& report) {
    return mouse.Receive(link, report.data(), report.size());
  }
  std::string Refusal(ConnectionMode link, Bytes report) {
    const Delivery d = Send(link, report);
    EXPECT_EQ(d.result, 0);
    EXPECT_FALSE(d.accepted);
    return d.error;
  }
  static LinkEvent Ack(uint16_t value) {
    return {kReceiver, Kind::kData, event::kAcknowledge, value};
  }
};

TEST_F(VirtualMouseTest, AcceptsEveryReportOfAForcedApplyOnBothLinks) {
  const ApplyPlan plan = PlanApply(*test::SampleProfile(1, 3), *profile, true);
  for (const Report& r : test::ReportsForLink(plan, true)) {
    const Delivery d = Send(kWired, r);
    EXPECT_TRUE(d.accepted) << ToHex(r) << d.error;
  }
  for (const Report& r : test::ReportsForLink(plan, false)) {
    const Delivery d = Send(kReceiver, r);
    EXPECT_TRUE(d.accepted) << ToHex(r) << d.error;
    EXPECT_EQ(d.events, std::vector<LinkEvent>{Ack(0)});
  }
  EXPECT_TRUE(mouse.Refused().empty());
}

TEST_F(VirtualMouseTest, RefusesDamagedFraming) {
  const Bytes settings = EncodeSettingsReport(*profile, 0);
  Bytes bad = settings;
  bad[51] ^= 1;
  EXPECT_NE(Refusal(kWired, bad).find("checksum"), std::string::npos);
  bad = settings;
  bad[20] ^= 0x40;  // payload changed, checksum kept
  EXPECT_NE(Refusal(kWired, bad).find("checksum"), std::string::npos);
  bad = settings;
  bad[1] = 0x37;
  EXPECT_NE(Refusal(kWired, bad).find("length byte"), std::string::npos);
  bad.pop_back();  // length byte and size agree, but not with the command
  EXPECT_NE(Refusal(kWired, bad).find("56 bytes"), std::string::npos);
  for (uint8_t mode : {0, 6}) {
    bad = settings;
    bad[2] = mode;
    EXPECT_NE(Refusal(kWired, bad).find("mode number"), std::string::npos);
  }
  EXPECT_NE(Refusal(kWired, Hex("0C 0A 02 FC 02 FD 00 00 00 00")).find("complement"),
            std::string::npos);
  EXPECT_NE(Refusal(kWired, Hex("0C 0A 06 F9 02 FD 00 00 00 00")).find("mode number"),
            std::string::npos);
  EXPECT_NE(Refusal(kWired, Hex("0C 0A 02 FD 02 FC 00 00 00 00")), "");
  EXPECT_NE(Refusal(kWired, Hex("06 09 01 04 FA 00 00 00 00")).find("complement"),
            std::string::npos);
  EXPECT_NE(Refusal(kWired, Hex("06 09 03 04 FB 00 00 00 00")), "");
  EXPECT_NE(Refusal(kWired, Hex("06 09 01 03 FC 00 00 00 00")).find("interval"), std::string::npos);
  EXPECT_NE(Refusal(kWired, Hex("07 03 01")).find("unknown command"), std::string::npos);
  EXPECT_NE(Refusal(kWired, Hex("0C")), "");
  EXPECT_EQ(mouse.Refused().size(), 14u);
  EXPECT_TRUE(mouse.Accepted().empty());
  EXPECT_FALSE(mouse.Modes()[0].settings.has_value());
}

TEST_F(VirtualMouseTest, TheWiredLinkTakesSixtyFourBytesAtMost) {
  auto macro_profile = test::SampleProfile(2, 1);
  const Report macro = PlanApply(*macro_profile, *profile, true).reports.at(9);
  ASSERT_EQ(macro[0], command::kMacro);
  EXPECT_NE(Refusal(kWired, macro).find("64 bytes"), std::string::npos);
  EXPECT_TRUE(Send(kReceiver, macro).accepted);
  // Chunks are the wired form only.
  EXPECT_NE(Refusal(kReceiver, WiredMacroChunks(macro)[0]).find("wired"), std::string::npos);
}

TEST_F(VirtualMouseTest, MacroChunksMustComeInOrderForOneMacro) {
  auto macro_profile = test::SampleProfile(3, 2);
  const ApplyPlan plan = PlanApply(*macro_profile, *profile, true);
  const std::vector<Report> first = WiredMacroChunks(plan.reports.at(9));
  const std::vector<Report> second = WiredMacroChunks(plan.reports.at(10));
  ASSERT_EQ(second[0][2], 2);

  EXPECT_NE(Refusal(kWired, first[1]).find("out of order"), std::string::npos);
  EXPECT_TRUE(Send(kWired, first[0]).accepted);
  EXPECT_NE(Refusal(kWired, first[2]).find("out of order"), std::string::npos);
  // The refusal abandoned macro 1: it must start again from chunk 0.
  EXPECT_NE(Refusal(kWired, first[1]).find("out of order"), std::string::npos);
  EXPECT_TRUE(Send(kWired, first[0]).accepted);
  EXPECT_NE(Refusal(kWired, second[1]).find("macro 2"), std::string::npos);
  EXPECT_TRUE(mouse.Macros().empty());

  for (const Report& chunk : first) EXPECT_TRUE(Send(kWired, chunk).accepted);
  ASSERT_EQ(mouse.Macros().count(1), 1u);
  EXPECT_EQ(mouse.Macros().at(1), plan.reports.at(9));

  // A corrupted payload is caught once the macro is whole.
  std::vector<Report> damaged = second;
  damaged[1][30] ^= 0x10;
  EXPECT_TRUE(Send(kWired, damaged[0]).accepted);
  EXPECT_TRUE(Send(kWired, damaged[1]).accepted);
  EXPECT_NE(Refusal(kWired, damaged[2]).find("checksum"), std::string::npos);
  EXPECT_EQ(mouse.Macros().count(2), 0u);

  // Chunk 2 carries zero padding after its eight bytes.
  std::vector<Report> padded = second;
  padded[2][40] = 1;
  EXPECT_TRUE(Send(kWired, padded[0]).accepted);
  EXPECT_TRUE(Send(kWired, padded[1]).accepted);
  EXPECT_NE(Refusal(kWired, padded[2]).find("zero"), std::string::npos);
}

TEST_F(VirtualMouseTest, AnotherReportBetweenChunksAbandonsTheMacro) {
  const ApplyPlan plan = PlanApply(*test::SampleProfile(4, 1), *profile, true);
  const std::vector<Report> chunks = WiredMacroChunks(plan.reports.at(9));
  EXPECT_TRUE(Send(kWired, chunks[0]).accepted);
  EXPECT_TRUE(Send(kWired, EncodeModeSelectReport(*profile)).accepted);
  EXPECT_NE(Refusal(kWired, chunks[1]).find("out of order"), std::string::npos);
}

TEST_F(VirtualMouseTest, ReceiverAcknowledgesAcceptedAndRejectedReports) {
  const Bytes mode_select = EncodeModeSelectReport(*profile);
  EXPECT_EQ(Send(kReceiver, mode_select).events, std::vector<LinkEvent>{Ack(0)});
  Bytes bad = mode_select;
  bad[3] = 0;
  EXPECT_EQ(Send(kReceiver, bad).events, std::vector<LinkEvent>{Ack(1)});
  EXPECT_TRUE(Send(kWired, mode_select).events.empty());  // the cable needs no answer
}

TEST_F(VirtualMouseTest, LostAcknowledgementsAndRefusedReportsAreCountedDown) {
  const Bytes mode_select = EncodeModeSelectReport(*profile);
  mouse.LoseAcknowledgements(2);
  for (int i = 0; i < 2; ++i) {
    const Delivery d = Send(kReceiver, mode_select);
    EXPECT_TRUE(d.accepted);
    EXPECT_TRUE(d.events.empty());
  }
  EXPECT_EQ(Send(kReceiver, mode_select).events, std::vector<LinkEvent>{Ack(0)});

  mouse.RefuseReports(1);
  EXPECT_EQ(Refusal(kWired, mode_select), "refused on request");
  EXPECT_TRUE(Send(kWired, mode_select).accepted);
  EXPECT_EQ(mouse.Accepted().size(), 4u);
}

TEST_F(VirtualMouseTest, UnpluggedLinksAndASleepingMouseTakeNothing) {
  const Bytes mode_select = EncodeModeSelectReport(*profile);
  mouse.SetPlugged(kWired, false);
  EXPECT_EQ(Refusal(kWired, mode_select), "the wired link is not plugged");
  mouse.Sleep();
  const Delivery d = Send(kReceiver, mode_select);
  EXPECT_EQ(d.result, 1);  // the receiver took it, the mouse never saw it
  EXPECT_FALSE(d.accepted);
  EXPECT_TRUE(d.events.empty());
  mouse.Wake();
  EXPECT_TRUE(Send(kReceiver, mode_select).accepted);
}

TEST_F(VirtualMouseTest, SteeringReportsEventsOnTheRightLink) {
  EXPECT_TRUE(mouse.SetPlugged(kWired, true).empty());  // already plugged
  EXPECT_EQ(mouse.PressDpi(3),
            (std::vector<LinkEvent>{{kWired, Kind::kData, event::kDpiLevel, 3}}));
  EXPECT_EQ(mouse.ReportBattery(7, false),
            (std::vector<LinkEvent>{{kReceiver, Kind::kData, event::kStatus, 0x0701},
                                    {kReceiver, Kind::kData, event::kBattery, 7}}));
  EXPECT_EQ(mouse.Sleep(),
            (std::vector<LinkEvent>{{kReceiver, Kind::kData, event::kStatus, 0x0700}}));
  EXPECT_TRUE(mouse.Heartbeat().empty());
  EXPECT_EQ(mouse.Wake(),
            (std::vector<LinkEvent>{{kReceiver, Kind::kData, event::kStatus, 0x0701}}));
  EXPECT_EQ(mouse.Heartbeat(), mouse.Wake());
  EXPECT_EQ(mouse.SetPlugged(kWired, false), (std::vector<LinkEvent>{{kWired, Kind::kPlug, 0, 0}}));
  EXPECT_EQ(mouse.PressMode(4),
            (std::vector<LinkEvent>{{kReceiver, Kind::kData, event::kMode, 4}}));
  EXPECT_EQ(mouse.ActiveMode(), 4);
  EXPECT_EQ(mouse.ReportBattery(12, true).size(), 1u);  // no battery event outside 1..10
}

// A level switched on the mouse is what its settings name afterwards, in
// every mode record it holds, just as the program records it; the other
// settings stay as they were sent.
TEST_F(VirtualMouseTest, APressedLevelIsKeptInTheStoredSettings) {
  auto sample = test::SampleProfile(5, 0);
  for (const Report& r : test::ReportsForLink(PlanApply(*sample, *profile, true), true))
    ASSERT_TRUE(Send(kWired, r).accepted);
  for (const int level : {6, 1, 8}) {
    mouse.PressDpi(level);
    for (ModeRecord& mode : sample->modes) mode.dpi_level = level - 1;
    for (const int k : {0, 1}) {
      EXPECT_EQ(ToHex(*mouse.Modes()[k].settings), ToHex(EncodeSettingsReport(*sample, k)))
          << "level " << level << ", mode record " << k;
    }
    EXPECT_FALSE(mouse.Modes()[2].settings) << "nothing is made up for a record never sent";
    EXPECT_EQ(mouse.StateJson()["dpi_level"], level);
  }
}

TEST_F(VirtualMouseTest, StateDecodesWhatWasSent) {
  auto sample = test::SampleProfile(5, 2);
  const ApplyPlan plan = PlanApply(*sample, *profile, true);
  for (const Report& r : test::ReportsForLink(plan, true)) ASSERT_TRUE(Send(kWired, r).accepted);
  const nlohmann::json state = mouse.StateJson();
  const ModeRecord& mode = sample->modes[1];
  const nlohmann::json& record = state["modes"][1];
  EXPECT_EQ(record["settings"]["raw"], ToHex(EncodeSettingsReport(*sample, 1)));
  EXPECT_EQ(record["settings"]["dpi_level"], mode.dpi_level + 1);
  EXPECT_EQ(record["settings"]["levels"][3]["enabled"], mode.dpi_enabled[3] == 1);
  EXPECT_EQ(record["lighting"]["effect"], mode.light_effect);
  EXPECT_EQ(record["lighting"]["speed"], mode.light_speed);
  EXPECT_EQ(record["lighting"]["sleep_timer"], mode.sleep_timer);
  EXPECT_EQ(state["polling_rate"]["interval_ms"], PollingIntervalCode(mode.polling_rate));
  EXPECT_EQ(state["macros"].size(), 2u);
  EXPECT_EQ(state["macros"]["1"]["loop_count"],
            sample->modes[0].buttons[2].macro_loop_count == 0
                ? 1
                : sample->modes[0].buttons[2].macro_loop_count & 0xFF);
  EXPECT_EQ(state["modes"][0]["buttons"]["buttons"][2], nlohmann::json({0x12, 0, 1}));
  EXPECT_TRUE(state["modes"][2]["settings"].is_null());
  EXPECT_EQ(mouse.LogJson()["accepted"].size(), test::ReportsForLink(plan, true).size());
}

}  // namespace
}  // namespace ms1::vmouse
