// The layout's virtual keys and characters on named layouts, the rules that
// assign them, and the system keyboard file.
#include "libs/keylayout/key_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <span>
#include <sstream>

#include "libs/keylayout/keyboard_defaults.h"
#include "libs/keylayout/virtual_key_assignment.h"
#include "support/scoped_env.h"

namespace ms1::keylayout {
namespace {

constexpr uint32_t VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
                   VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_4 = 0xDB, VK_OEM_7 = 0xDE;

struct NamedLayout {
  std::string layout;
  std::string variant;
};
const NamedLayout kLayouts[] = {{"us", ""}, {"fr", ""}, {"de", ""}, {"us", "dvorak"}, {"ru", ""}};

std::unique_ptr<Layout> Load(const NamedLayout& named) {
  auto layout = Layout::FromNames(named.layout, named.variant);
  EXPECT_NE(layout, nullptr) << named.layout << " " << named.variant;
  return layout;
}

TEST(KeyLayout, KeysCarryTheCodesOfWhatTheLayoutPrints) {
  struct Case {
    NamedLayout layout;
    uint32_t linux_key;
    uint32_t virtual_key;
  } const cases[] = {
      {{"us", ""}, 16, 'Q'},           {{"us", ""}, 30, 'A'},
      {{"us", ""}, 12, VK_OEM_MINUS},  {{"us", ""}, 53, VK_OEM_2},
      {{"fr", ""}, 16, 'A'},           {{"fr", ""}, 30, 'Q'},
      {{"fr", ""}, 17, 'Z'},           {{"fr", ""}, 44, 'W'},
      {{"fr", ""}, 39, 'M'},           {{"fr", ""}, 50, VK_OEM_COMMA},
      {{"fr", ""}, 51, VK_OEM_1},      {{"fr", ""}, 52, VK_OEM_PERIOD},  // ':' keeps its position
      {{"fr", ""}, 13, VK_OEM_PLUS},   {{"fr", ""}, 12, VK_OEM_MINUS},   // ')' keeps its position
      {{"de", ""}, 21, 'Z'},           {{"de", ""}, 44, 'Y'},
      {{"de", ""}, 53, VK_OEM_MINUS},  {{"de", ""}, 27, VK_OEM_PLUS},    // '-' and '+'
      {{"us", "dvorak"}, 16, VK_OEM_7}, {{"us", "dvorak"}, 31, 'O'},
      {{"us", "dvorak"}, 12, VK_OEM_4}, {{"us", "dvorak"}, 44, VK_OEM_1},
      {{"ru", ""}, 16, 'Q'},           {{"ru", ""}, 30, 'A'},            // no Latin letters: positions
  };
  for (const Case& c : cases) {
    const auto layout = Load(c.layout);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->VirtualKeyOf(c.linux_key), c.virtual_key)
        << c.layout.layout << c.layout.variant << " key " << c.linux_key;
  }
}

TEST(KeyLayout, DigitRowAndKeysOutsideTheBlockKeepTheirPositions) {
  const std::map<uint32_t, uint32_t> fixed = {
      {1, 0x1B},  {14, 0x08}, {15, 0x09}, {28, 0x0D}, {29, 0xA2},  {42, 0xA0},
      {54, 0xA1}, {56, 0xA4}, {57, 0x20}, {58, 0x14}, {59, 0x70},  {88, 0x7B},
      {96, 0x6C}, {97, 0xA3}, {99, 0x2C}, {100, 0xA5}, {125, 0x5B}, {126, 0x5C},
      {82, 0x60}, {83, 0x6E}, {0, 0},     {84, 0},    {255, 0},    {1000, 0}};
  for (const NamedLayout& named : kLayouts) {
    const auto layout = Load(named);
    ASSERT_NE(layout, nullptr);
    for (uint32_t digit = 1; digit <= 10; ++digit) {  // keys 2..11 are 1..9, 0
      EXPECT_EQ(layout->VirtualKeyOf(digit + 1), '0' + digit % 10) << named.layout << " " << digit;
    }
    for (const auto& [key, code] : fixed) {
      EXPECT_EQ(layout->VirtualKeyOf(key), code) << named.layout << " key " << key;
    }
  }
}

TEST(KeyLayout, EveryLetterOnExactlyOneKeyAndKeyOfUndoesVirtualKeyOf) {
  for (const NamedLayout& named : kLayouts) {
    const auto layout = Load(named);
    ASSERT_NE(layout, nullptr);
    std::map<uint32_t, int> carriers;
    for (uint32_t key = 0; key < 256; ++key) {
      const uint32_t code = layout->VirtualKeyOf(key);
      if (code == 0) continue;
      ++carriers[code];
      EXPECT_EQ(layout->KeyOf(code), key) << named.layout << named.variant << " key " << key;
    }
    for (uint32_t letter = 'A'; letter <= 'Z'; ++letter) {
      EXPECT_EQ(carriers[letter], 1) << named.layout << named.variant << " " << char(letter);
    }
    EXPECT_EQ(layout->KeyOf(0), 0u);
    EXPECT_EQ(layout->KeyOf(0xFF), 0u);
  }
}

// What a key prints unshifted, and the accent a dead key names.
TEST(KeyLayout, TextIsWhatTheKeyPrintsUnshiftedAndDeadKeysNameTheirAccent) {
  struct Case {
    NamedLayout layout;
    uint32_t linux_key;
    std::string expected;
  };
  const Case texts[] = {
      {{"us", ""}, 30, "a"},  {{"fr", ""}, 30, "q"},  {{"de", ""}, 12, "ß"},
      {{"fr", ""}, 3, "é"},   {{"fr", ""}, 2, "&"},   {{"us", ""}, 2, "1"},
      {{"de", ""}, 44, "y"},  {{"ru", ""}, 16, "й"},  {{"us", ""}, 57, " "},
      {{"fr", ""}, 26, ""},  // a dead key
      {{"de", ""}, 41, ""},  // dead circumflex
      {{"us", ""}, 59, ""},  // F1 prints nothing
      {{"us", ""}, 0, ""},
  };
  const Case accents[] = {
      {{"fr", ""}, 26, "^"}, {{"de", ""}, 41, "^"}, {{"de", ""}, 13, "\u00B4"},
      {{"us", ""}, 26, ""},  {{"us", ""}, 30, ""},  {{"de", "nodeadkeys"}, 41, ""},
  };
  for (const auto& [of, cases] : {std::pair{&Layout::TextOf, std::span<const Case>(texts)},
                                  std::pair{&Layout::AccentOf, std::span<const Case>(accents)}}) {
    for (const Case& c : cases) {
      const auto layout = Load(c.layout);
      ASSERT_NE(layout, nullptr);
      EXPECT_EQ(((*layout).*of)(c.linux_key), c.expected)
          << c.layout.layout << " key " << c.linux_key
          << (of == &Layout::TextOf ? " text" : " accent");
    }
  }
}

TEST(KeyLayout, UnknownLayoutIsNullAndNamesComeFromXkb) {
  EXPECT_EQ(Layout::FromNames("no-such-layout"), nullptr);
  EXPECT_EQ(Layout::FromNames("us")->Name(), "English (US)");
  EXPECT_EQ(Layout::FromNames("fr")->Name(), "French");
  EXPECT_EQ(Layout::FromNames("de", "nodeadkeys")->TextOf(41), "^");
}

TEST(KeyLayout, WithoutDisplayActiveFollowsTheXkbDefaultVariables) {
  test::ScopedEnv env;
  env.Clear("DISPLAY").Set("XKB_DEFAULT_LAYOUT", "fr").Clear("XKB_DEFAULT_VARIANT");
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(16), 'A');
  env.Set("XKB_DEFAULT_LAYOUT", "de");
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(44), 'Y');
  env.Set("XKB_DEFAULT_LAYOUT", "us").Set("XKB_DEFAULT_VARIANT", "dvorak");
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(31), 'O');
  // A display that cannot be reached is no display.
  env.Set("DISPLAY", ":no-such-display").Set("XKB_DEFAULT_LAYOUT", "de").Clear("XKB_DEFAULT_VARIANT");
  EXPECT_EQ(Layout::Active()->VirtualKeyOf(44), 'Y');
}

TEST(VirtualKeyAssignment, FirstKeyWinsAndTheLoserTakesAFreeCode) {
  // Made up: keys 16 and 17 both print 'a', key 30 (US 'A') prints 'q',
  // key 12 (US '-') prints ')', key 53 (US '/') prints '-'.
  const std::map<uint32_t, PrintedCharacters> printed = {
      {16, {U'a', U'A'}}, {17, {U'a', U'A'}}, {30, {U'q', U'Q'}},
      {12, {U')', U'°'}}, {53, {U'-', U'_'}}};
  const VirtualKeyTable table = AssignVirtualKeys([&](uint32_t key) {
    const auto it = printed.find(key);
    return it != printed.end() ? it->second : PrintedCharacters{};
  });
  EXPECT_EQ(table[16], 'A');
  EXPECT_EQ(table[30], 'Q');
  EXPECT_EQ(table[53], VK_OEM_MINUS);
  // Key 17 loses 'A', and its position 'W' is a letter no one prints but a
  // position code it keeps; key 12 lost '-' to key 53 and takes '/', the
  // code key 53 left free.
  EXPECT_EQ(table[17], 'W');
  EXPECT_EQ(table[12], VK_OEM_2);
}

TEST(KeyboardDefaults, ReadsLayoutAndVariantAsTheShellWould) {
  struct Case {
    std::string file;
    std::string layout;
    std::string variant;
  } const cases[] = {
      {"XKBMODEL=\"pc105\"\nXKBLAYOUT=\"fr\"\nXKBVARIANT=\"\"\n", "fr", ""},
      {"# comment XKBLAYOUT=us\nXKBLAYOUT=de # German\nXKBVARIANT='nodeadkeys'\n", "de",
       "nodeadkeys"},
      {"  export XKBLAYOUT=\"us,ru\"\r\nXKBVARIANT=\",phonetic\"\n", "us,ru", ",phonetic"},
      {"XKBOPTIONS=\"grp:alt_shift_toggle\"\n", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.file);
    const LayoutNames names = ReadKeyboardDefaults(in);
    EXPECT_EQ(names.layout, c.layout) << c.file;
    EXPECT_EQ(names.variant, c.variant) << c.file;
  }
  EXPECT_EQ(ReadKeyboardDefaultsFile("/no/such/keyboard").layout, "");
}

}  // namespace
}  // namespace ms1::keylayout
