// The parts of the input hook that need no X server: what recorded data holds,
// what each key and button becomes, and when the gate lets an event through.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "libs/inputhook/button_messages.h"
#include "libs/inputhook/event_gate.h"
#include "libs/inputhook/input_translation.h"
#include "libs/inputhook/recorded_input.h"
#include "libs/keylayout/key_layout.h"
#include "support/run.h"
#include "support/test_paths.h"
#include "test_window.h"

namespace ms1::inputhook {
namespace {

using Kind = RecordedInput::Kind;

std::vector<uint8_t> XEvent(uint8_t type, uint8_t detail) {
  std::vector<uint8_t> event(32, 0);
  event[0] = type;
  event[1] = detail;
  return event;
}

std::vector<uint8_t> Joined(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(RecordedInput, KeysAndButtonsAreFoundInOrderAndEverythingElseSkipped) {
  std::vector<uint8_t> generic = XEvent(35, 0);  // a generic event, 8 bytes longer
  const uint32_t extra_words = 2;
  std::memcpy(generic.data() + 4, &extra_words, sizeof extra_words);
  generic.resize(40, 0xFF);

  struct Case {
    std::string name;
    std::vector<uint8_t> data;
    std::vector<RecordedInput> expected;
  } const cases[] = {
      {"nothing", {}, {}},
      {"all four kinds",
       Joined({XEvent(2, 38), XEvent(3, 38), XEvent(4, 1), XEvent(5, 9)}),
       {{Kind::KeyPress, 38}, {Kind::KeyRelease, 38}, {Kind::ButtonPress, 1},
        {Kind::ButtonRelease, 9}}},
      {"motion and focus skipped", Joined({XEvent(6, 0), XEvent(2, 50), XEvent(9, 0)}),
       {{Kind::KeyPress, 50}}},
      {"a generic event is stepped over by its length", Joined({generic, XEvent(4, 3)}),
       {{Kind::ButtonPress, 3}}},
      {"the sent flag does not hide the kind", XEvent(0x80 | 3, 24), {{Kind::KeyRelease, 24}}},
      {"an incomplete event at the end is ignored",
       Joined({XEvent(2, 10), std::vector<uint8_t>(20, 2)}), {{Kind::KeyPress, 10}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InputEventsIn(c.data), c.expected) << c.name;
  }
}

TEST(ButtonMessages, EachButtonHasItsMessagesAndTheWheelNone) {
  struct Case {
    uint8_t x_button;
    uintptr_t down, up;
    intptr_t l_param;
  } const reported[] = {
      {1, 0x201, 0x202, 0}, {2, 0x207, 0x208, 0}, {3, 0x204, 0x205, 0},
      {8, 0x20B, 0x20C, 2}, {9, 0x20B, 0x20C, 1},
  };
  for (const Case& c : reported) {
    EXPECT_EQ(ButtonEventOf(c.x_button, true), (HookEvent{true, c.down, c.l_param}))
        << int{c.x_button};
    EXPECT_EQ(ButtonEventOf(c.x_button, false), (HookEvent{true, c.up, c.l_param}))
        << int{c.x_button};
  }
  for (const uint8_t silent : {0, 4, 5, 6, 7, 10, 255}) {
    EXPECT_FALSE(ButtonEventOf(silent, true)) << int{silent};
    EXPECT_FALSE(ButtonEventOf(silent, false)) << int{silent};
  }
}

TEST(InputTranslation, KeysBecomeTheVirtualKeysOfTheLayout) {
  const auto us = keylayout::Layout::FromNames("us");
  const auto fr = keylayout::Layout::FromNames("fr");
  ASSERT_TRUE(us && fr);
  struct Case {
    const keylayout::Layout* layout;
    RecordedInput input;
    std::optional<HookEvent> expected;
  } const cases[] = {
      {us.get(), {Kind::KeyPress, 24}, HookEvent{false, 'Q', 0}},
      {us.get(), {Kind::KeyRelease, 24}, HookEvent{false, 'Q', 1}},
      {fr.get(), {Kind::KeyPress, 24}, HookEvent{false, 'A', 0}},
      {us.get(), {Kind::KeyPress, 50}, HookEvent{false, 0xA0, 0}},   // left Shift
      {us.get(), {Kind::KeyPress, 108}, HookEvent{false, 0xA5, 0}},  // right Alt
      {us.get(), {Kind::KeyPress, 67}, HookEvent{false, 0x70, 0}},   // F1
      {us.get(), {Kind::KeyPress, 8}, std::nullopt},                 // carries no virtual key
      {us.get(), {Kind::KeyPress, 3}, std::nullopt},                 // below every key code
      {nullptr, {Kind::KeyPress, 24}, std::nullopt},                 // no layout, no keys
      {nullptr, {Kind::ButtonPress, 1}, HookEvent{true, 0x201, 0}},  // buttons need none
      {us.get(), {Kind::ButtonRelease, 4}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HookEventOf(c.input, c.layout), c.expected)
        << int(c.input.kind) << " " << int{c.input.detail};
  }
}

TEST(EventGate, KeysNeedWindowAndEnableButtonsTheMouseFlagToo) {
  const HookEvent key{false, 'A', 0};
  const HookEvent button{true, 0x201, 0};
  struct Case {
    bool window, keys, mouse;
    bool key_passes, button_passes;
  } const cases[] = {
      {false, false, false, false, false}, {false, true, true, false, false},
      {true, false, true, false, false},   {true, true, false, true, false},
      {true, true, true, true, true},
  };
  for (const Case& c : cases) {
    test::TestWindow window;
    EventGate gate;
    if (c.window) gate.SetWindow(window.Handle());
    gate.SetKeysEnabled(c.keys);
    gate.SetMouseEnabled(c.mouse);
    gate.Post(key);
    gate.Post(button);
    std::vector<test::PostedMessage> expected;
    if (c.key_passes) expected.push_back({1034, 'A', 0});
    if (c.button_passes) expected.push_back({1034, 0x201, 0});
    EXPECT_EQ(window.Messages(), expected) << c.window << c.keys << c.mouse;
  }
}

TEST(EventGate, ARemovedOrEmptyWindowGetsNothing) {
  test::TestWindow window;
  EventGate gate;
  gate.SetKeysEnabled(true);
  gate.SetWindow(window.Handle());
  gate.SetWindow(std::nullopt);
  gate.Post({false, 'A', 0});
  gate.SetWindow(Ms1WindowHandle{&window, nullptr});  // no post function: no window
  gate.Post({false, 'A', 0});
  EXPECT_TRUE(window.Messages().empty());
}

TEST(HookFile, ExportsExactlyTheSevenEntryPointsAndSitsInBothProgramFolders) {
  const test::RunResult symbols =
      test::Run({"/usr/bin/nm", "-D", "--defined-only", test::paths::InputHookFile()});
  ASSERT_EQ(symbols.exit_code, 0) << symbols.err;
  std::set<std::string> exported;
  for (const std::string& line : test::Lines(symbols.out)) {
    exported.insert(line.substr(line.rfind(' ') + 1));
  }
  const std::set<std::string> entry_points = {"installmousehook", "removemousehook",
                                              "enablemousehook",  "installhook",
                                              "removehook",       "enablehook",
                                              "mousewheelenable"};
  EXPECT_EQ(exported, entry_points);
  for (const std::string& folder : {test::paths::ProgramFolder(), test::paths::DemoFolder()}) {
    EXPECT_EQ(test::Slurp(folder + "/Hook.so"), test::Slurp(test::paths::InputHookFile()))
        << folder;
  }
}

}  // namespace
}  // namespace ms1::inputhook
