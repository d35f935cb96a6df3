#include "model/function_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace ms1 {
namespace {

TEST(FunctionForMenuItem, MatchesItemNamesWithoutRegardToCase) {
  const struct {
    const char* item;
    int code;
  } cases[] = {
      {"ms_1_mute", 71},       {"MS_1_MUTE", 71},     {"Ms_1_Pre_Track", 67},
      {"ms_1_CLICK", 1},       {"MS_1_MENU", 2},      {"ms_1_button_OFF", 0},
      {"ms_1_mute ", 1},       {"ms_1_mut", 1},       {"ms_1_mutex", 1},
      {"no_such_item", 1},     {"", 1},
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
