#include "macro/hook_event_translation.h"

#include <gtest/gtest.h>

#include "macro/mouse_buttons.h"
#include "model/records.h"

namespace ms1 {
namespace {

UsageLookup Lookup(uint32_t vk) {
  if (vk == 'A') return {true, 4};
  if (vk == 0x99) return {true, 0x1234};  // a usage no key code can carry
  return {};
}

TEST(HookEventTranslation, MouseMessagesAndKeysBecomeStepsPerTheTable) {
  const struct {
    uintptr_t first;
    intptr_t second;
    uint8_t key;
    uint8_t state;
  } cases[] = {
      {0x201, 0, 0xF1, kActionPress},   {0x202, 7, 0xF1, kActionRelease},
      {0x204, 0, 0xF2, kActionPress},   {0x205, 0, 0xF2, kActionRelease},
      {0x207, 1, 0xF3, kActionPress},   {0x208, 0, 0xF3, kActionRelease},
      {0x20B, 2, 0xF4, kActionPress},   {0x20B, 1, 0xF5, kActionPress},
      {0x20C, 2, 0xF4, kActionRelease}, {0x20C, 1, 0xF5, kActionRelease},
      {0x20B, 0, 0, kActionPress},  // neither X button: looked up as a key
      {'A', 0, 4, kActionPress},        {'A', 1, 4, kActionRelease},
      {'B', 0, 0, kActionPress},        {0x99, 5, 0, kActionRelease},
  };
  for (const auto& c : cases) {
    const TranslatedEvent t = TranslateHookEvent(c.first, c.second, Lookup);
    EXPECT_EQ(t.key, c.key) << std::hex << c.first << " " << c.second;
    EXPECT_EQ(t.state, c.state) << std::hex << c.first << " " << c.second;
  }
  EXPECT_EQ(KeyCodeOfVirtualKey('A', nullptr), 0);
}

TEST(MouseButtons, OfferedItemsAndCodesMapBothWays) {
  const uint8_t codes[] = {0xF1, 0xF2, 0xF3, 0xF5, 0xF4};
  for (int item = 0; item < 5; ++item) {
    EXPECT_EQ(MouseButtonCodeOfItem(item), codes[item]);
    EXPECT_EQ(MouseItemOfCode(codes[item]), item);
  }
}

}  // namespace
}  // namespace ms1
