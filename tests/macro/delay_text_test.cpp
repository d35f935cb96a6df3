#include "macro/delay_text.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(DelayText, FieldsAreReadAsLeadingIntegersAndLimitedToPlayableDelays) {
  const struct {
    std::u16string text;
    uint16_t delay;
  } cases[] = {
      {u"5", 10},
      {u"10", 10},
      {u"1281", 1281},
      {u"51199", 51199},
      {u"51200", 51199},  // the mouse counts no longer pause
      {u"70000", 51199},
      {u"99999999999999999999999", 51199},
      {u"-3", 10},
      {u"abc", 10},
      {u"  250ms", 250},
      {u"", 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DelayFromText(c.text), c.delay) << std::string(c.text.begin(), c.text.end());
  }
  EXPECT_EQ(LeadingDecimal(u"\t-42x"), -42);
}

TEST(DelayText, DefaultDelayFieldBelowTenBecomesTen) {
  for (std::u16string text : {u"9", u"", u"x", u"-20"}) {
    EXPECT_EQ(DefaultDelayTextOnFocusLoss(text), u"10");
  }
  for (std::u16string text : {u"10", u"70000"}) {
    EXPECT_EQ(DefaultDelayTextOnFocusLoss(text), std::nullopt);
  }
}

}  // namespace
}  // namespace ms1
