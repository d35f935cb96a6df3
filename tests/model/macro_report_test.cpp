#include "model/macro_report.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "support/hex.h"

namespace ms1 {
namespace {

using test::Hex;

struct MacroButton {
  ButtonRecord record;
  MacroButton() { std::memset(&record, 0, sizeof record); record.function_code = kFunctionMacro; }
  MacroButton& Step(uint8_t key, uint8_t state, uint16_t delay) {
    record.macro_actions[record.macro_action_count++] = {key, state, delay};
    return *this;
  }
};

Report Pairs(const Report& r) { return Report(r.begin() + 29, r.begin() + 29 + 2 * r[28]); }

TEST(MacroReport, HeaderAndEmptyMacro) {
  MacroButton b;
  b.record.macro_repeat_mode = 2;
  b.record.macro_reserved = 0x5A;
  const Report r = EncodeMacroReport(4, b.record);
  ASSERT_EQ(r.size(), 131u);
  EXPECT_EQ(Report(r.begin(), r.begin() + 8), Hex("09 83 04 02 5A 5A 5A 01"));
  EXPECT_EQ(r[28], 0);
  for (int i = 8; i <= 128; ++i) EXPECT_EQ(r[i], 0) << i;
  EXPECT_TRUE(test::ChecksumAt(r, 129));
}

TEST(MacroReport, LoopCountZeroIsSentAsOne) {
  MacroButton b;
  b.record.macro_loop_count = 255;
  EXPECT_EQ(EncodeMacroReport(1, b.record)[7], 255);
  b.record.macro_loop_count = 256;  // low byte 0
  EXPECT_EQ(EncodeMacroReport(1, b.record)[7], 1);
}

TEST(MacroReport, StepTimesAndLongDelaySplits) {
  MacroButton b;
  b.Step(0x04, kActionPress, 1000)    // 65 04
      .Step(0x05, kActionRelease, 1500)  // 8B 05, 07 03
      .Step(0x06, kActionRelease, 400)   // A9 06
      .Step(0x07, kActionPress, 1270)    // 7F|01 07
      .Step(0x08, kActionPress, 1271)    // 07 08, 06 03
      .Step(0x09, kActionPress, 1400)    // T(1)=0: 01 09, 07 03
      .Step(0x0A, 7, 4)                  // any state but 1 is a release: 81 0A
      .Step(0x0B, kActionPress, 0)       // 01 0B
      .Step(0x0C, kActionPress, 60000);  // 60000 = 300 x 200: 01 0C, 2C 03
  const Report r = EncodeMacroReport(1, b.record);
  EXPECT_EQ(r[28], 9 + 4);
  EXPECT_EQ(Pairs(r), Hex("65 04 8B 05 07 03 A9 06 7F 07 07 08 06 03 01 09 07 03 81 0A 01 0B "
                          "01 0C 2C 03"));
  EXPECT_TRUE(test::ChecksumAt(r, 129));
}

TEST(MacroReport, OnlyTenLongDelayPairs) {
  MacroButton b;
  for (int s = 0; s < 12; ++s) b.Step(static_cast<uint8_t>(0x10 + s), kActionPress, 2000);
  const Report r = EncodeMacroReport(1, b.record);
  EXPECT_EQ(r[28], 12 + 10);
  const Report pairs = Pairs(r);
  EXPECT_EQ(Report(pairs.end() - 8, pairs.end()), Hex("01 19 0A 03 01 1A 01 1B"));
}

TEST(MacroReport, NeverWritesPastThePairArea) {
  // 46 steps of 1271..1280 ms need 56 pairs (a foreign file or an older store).
  MacroButton b;
  for (int s = 0; s < kMaxMacroActions; ++s) b.Step(0x04, kActionPress, 1275);
  const Report r = EncodeMacroReport(1, b.record);
  ASSERT_EQ(r.size(), 131u);
  EXPECT_EQ(r[28], 50);
  EXPECT_TRUE(test::ChecksumAt(r, 129));
  // 10 split steps (20 pairs) then 30 single steps: 40 steps, 50 pairs.
  EXPECT_EQ(r[127], 0x09);  // T(75) = 8, pressed
  EXPECT_EQ(r[128], 0x04);
}

TEST(MacroReport, WholeStepsOnlyWhenTheAreaIsNearlyFull) {
  MacroButton b;
  for (int s = 0; s < 39; ++s) b.Step(0x04, kActionPress, 10);   // 39 pairs
  for (int s = 0; s < 6; ++s) b.Step(0x05, kActionPress, 2000);  // two pairs each
  b.Step(0x06, kActionPress, 10);
  ASSERT_EQ(b.record.macro_action_count, kMaxMacroActions);
  const Report r = EncodeMacroReport(1, b.record);
  // The sixth split step finds one free pair: it and everything after it stay out.
  EXPECT_EQ(r[28], 39 + 5 * 2);
  EXPECT_EQ(r[127], 0x00);
  EXPECT_EQ(r[128], 0x00);
  EXPECT_TRUE(test::ChecksumAt(r, 129));

  b.record.macro_action_count = 500;  // only a foreign file can say this
  EXPECT_EQ(EncodeMacroReport(1, b.record), r);
}

// Every step played in order with its pause, to within 15 ms (rounded to
// 10 ms, and bit 0 of the time byte is the step's flag).
bool PlaysWhole(const ButtonRecord& b) {
  const Report r = EncodeMacroReport(1, b);
  std::vector<std::array<int, 3>> played;  // key, pressed, delay
  for (int p = 29; p < 29 + 2 * r[28]; p += 2) {
    if (r[p + 1] == 0x03) played.back()[2] += r[p] * 200;  // no step has that key
    if (r[p + 1] != 0x03) played.push_back({r[p + 1], r[p] < 0x80, (r[p] & 0x7F) * 10});
  }
  return played.size() == b.macro_action_count &&
         std::equal(played.begin(), played.end(), b.macro_actions, [](auto p, MacroAction s) {
           return p[0] == s.key && p[1] == (s.state == 1) && std::abs(p[2] - s.delay_ms) <= 15;
         });
}

// The measure and the encoder agree: a macro fits exactly when it plays whole
// (the editor's tests pin the limits).
TEST(MacroReport, AMacroFitsExactlyWhenTheMousePlaysItWhole) {
  // Any mixture of steps, keys and delays around the limits.
  const uint16_t delays[] = {0, 5, 1270, 1271, 1281, 1400, 51199, 51200, 65535};
  std::mt19937 random(26);
  for (int round = 0; round < 3000; ++round) {
    MacroButton b;
    const unsigned split_share = random() % 5;  // of 10 steps at most, the others up to 1270 ms
    for (int s = random() % (kMaxMacroActions + 1); s > 0; --s) {
      b.Step(uint8_t(0x04 + random() % 0xF0), uint8_t(1 + random() % 3),
             random() % 10 < split_share ? delays[3 + random() % 6] : delays[random() % 3]);
    }
    EXPECT_EQ(FitOf(MeasureMacro(b.record)) == MacroFit::kFits, PlaysWhole(b.record)) << round;
  }
}

TEST(MacroReport, WiredChunks) {
  MacroButton b;
  for (int s = 0; s < 40; ++s) b.Step(static_cast<uint8_t>(s + 1), kActionPress, 10);
  const Report full = EncodeMacroReport(2, b.record);
  const std::vector<Report> chunks = WiredMacroChunks(full);
  ASSERT_EQ(chunks.size(), 3u);
  for (uint8_t c = 0; c < 3; ++c) {
    ASSERT_EQ(chunks[c].size(), 64u);
    EXPECT_EQ(Report(chunks[c].begin(), chunks[c].begin() + 4), (Report{0x09, 0x40, 0x02, c}));
  }
  EXPECT_EQ(Report(chunks[0].begin() + 4, chunks[0].end()), Report(full.begin() + 3, full.begin() + 63));
  EXPECT_EQ(Report(chunks[1].begin() + 4, chunks[1].end()), Report(full.begin() + 63, full.begin() + 123));
  EXPECT_EQ(Report(chunks[2].begin() + 4, chunks[2].begin() + 12), Report(full.begin() + 123, full.end()));
  for (int i = 12; i < 64; ++i) EXPECT_EQ(chunks[2][i], 0);
}

}  // namespace
}  // namespace ms1
