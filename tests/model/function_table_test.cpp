#include "model/function_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace ms1 {
namespace {

TEST(FunctionTable, HasSixtyTwoDeviceRowsWithUniqueCodes) {
  std::set<uint8_t> codes;
  int with_bytes = 0;
  for (const FunctionRow& row : FunctionTable()) {
    EXPECT_TRUE(codes.insert(row.code).second) << int(row.code);
    if (row.device_bytes) ++with_bytes;
  }
  EXPECT_EQ(with_bytes, 62);
  EXPECT_EQ(DeviceBytesFor(0), (DeviceBytes{0x01, 0x00, 0x00}));  // off is not 00 00 00
  EXPECT_EQ(DeviceBytesFor(50), (DeviceBytes{0x11, 0x0A, 0x16}));
  EXPECT_EQ(DeviceBytesFor(51), (DeviceBytes{0x00, 0x00, 0x00}));
  EXPECT_EQ(DeviceBytesFor(81), (DeviceBytes{0x11, 0x03, 0x12}));
  EXPECT_EQ(LabelKeyFor(13), "titl_left_text");
  EXPECT_EQ(LabelKeyFor(19), "");
}

TEST(FunctionForMenuItem, MatchesItemNamesWithoutRegardToCase) {
  const struct {
    const char* item;
    int code;
  } cases[] = {
      {"ms_1_mute", 71}, {"MS_1_MUTE", 71}, {"Ms_1_Pre_Track", 67}, {"ms_1_pre_track", 67},
      {"ms_1_CLICK", 1}, {"MS_1_MENU", 2},  {"ms_1_button_OFF", 0}, {"ms_1_mute ", 1},
      {"ms_1_mut", 1},   {"ms_1_mutex", 1}, {"no_such_item", 1},    {"", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(FunctionForMenuItem(c.item), c.code) << c.item;
}

TEST(FunctionForMenuItem, EveryMenuItemOfTheTableFindsItsOwnRowInCapitals) {
  for (const FunctionRow& row : FunctionTable()) {
    if (row.menu_item.empty()) continue;
    std::string upper(row.menu_item);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(FunctionForMenuItem(upper), row.code) << upper;
  }
}

}  // namespace
}  // namespace ms1
