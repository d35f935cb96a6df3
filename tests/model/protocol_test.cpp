// The protocol's value mappings, checked against the values the mouse uses.
#include <gtest/gtest.h>

#include <climits>

#include "model/protocol/dpi_steps.h"
#include "model/protocol/events.h"
#include "model/protocol/polling_rate.h"

namespace ms1 {
namespace {

TEST(PollingRate, IndexIntervalAndRateAgree) {
  struct Case {
    int32_t index;
    uint8_t interval_ms;
    int hz;
  };
  const Case cases[] = {{0, 8, 125}, {1, 4, 250}, {2, 2, 500}, {3, 1, 1000}};
  for (const Case& c : cases) {
    EXPECT_EQ(PollingIntervalCode(c.index), c.interval_ms) << c.index;
    EXPECT_EQ(PollingHzForIndex(c.index), c.hz) << c.index;
    EXPECT_EQ(PollingRateHz(c.interval_ms), c.hz) << c.index;
    EXPECT_TRUE(IsPollingInterval(c.interval_ms)) << c.index;
    // The mouse reports a switched rate by its interval.
    EXPECT_EQ(PollingIndexForEvent(c.interval_ms), c.index) << c.index;
  }
}

TEST(PollingRate, UnknownIndexesAndIntervalsStayDefined) {
  for (int32_t index : {-1, 4, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(PollingIntervalCode(index), 2) << index;
    EXPECT_EQ(PollingHzForIndex(index), std::nullopt) << index;
  }
  for (int interval : {0, 3, 5, 6, 7, 9, 16, 255}) {
    EXPECT_FALSE(IsPollingInterval(static_cast<uint8_t>(interval))) << interval;
  }
  EXPECT_EQ(PollingRateHz(0), 0);
  // A switched rate reported by an interval between the four maps onto one of them.
  const std::pair<uint16_t, int32_t> between[] = {{7, 1}, {5, 1}, {3, 2}, {6, 1}};
  for (auto [value, index] : between) EXPECT_EQ(PollingIndexForEvent(value), index) << value;
  for (uint16_t value : {0, 9, 0xFFFF}) EXPECT_FALSE(PollingIndexForEvent(value)) << value;
}

TEST(EventValues, StatusAndAcknowledgeReadOnlyTheirOwnBytes) {
  EXPECT_EQ(StatusValue(7, true), 0x0701);
  EXPECT_EQ(StatusValue(6, false), 0x0600);
  struct Status {
    uint16_t value;
    bool awake;
    unsigned battery;
    bool battery_level;
  };
  const Status statuses[] = {{0x0701, true, 7, true},   {0x0600, false, 6, true},
                             {0x0AFF, true, 10, true},  {0x0B01, true, 11, false},
                             {0x0000, false, 0, false}, {0x0102, true, 1, true}};
  for (const Status& s : statuses) {
    EXPECT_EQ(StatusAwake(s.value), s.awake) << s.value;
    EXPECT_EQ(StatusBatteryTenths(s.value), s.battery) << s.value;
    EXPECT_EQ(IsBatteryLevel(StatusBatteryTenths(s.value)), s.battery_level) << s.value;
  }
  const std::pair<uint16_t, bool> acknowledgements[] = {
      {0x0000, true}, {0x0100, true}, {0x0001, false}, {0xFF01, false}};
  for (auto [value, accepted] : acknowledgements) {
    EXPECT_EQ(AcknowledgeAccepted(value), accepted) << value;
  }
}

TEST(DpiUnit, StoredValuesCountFortyDpiEach) {
  const std::pair<int32_t, int64_t> cases[] = {
      {30, 1200}, {160, 6400}, {0, 0}, {-1, -40}, {INT32_MAX, 85899345880}};
  for (auto [stored, dpi] : cases) EXPECT_EQ(DisplayedDpi(stored), dpi) << stored;
}

}  // namespace
}  // namespace ms1
