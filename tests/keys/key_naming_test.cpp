// The key tables on named layouts: virtual keys to key codes by position, key
// codes to names by what the layout prints, with a text lookup that shows
// which language key was asked for.
#include "keys/key_naming.h"

#include <gtest/gtest.h>

#include "keys/key_table.h"
#include "keys/upper_case.h"

namespace ms1 {
namespace {

using keylayout::Layout;

// "<language key>", so a test sees which key was looked up.
std::string Bracketed(std::string_view language_key) {
  return "<" + std::string(language_key) + ">";
}

struct Named {
  std::unique_ptr<Layout> layout;
  KeyNaming naming;
  explicit Named(const std::string& name, const std::string& variant = {})
      : layout(Layout::FromNames(name, variant)), naming(*layout, Bracketed) {}
};

TEST(KeyTable, RowsAndRanges) {
  const auto& rows = KeyTable();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].scan_code != 0, i < kRowsWithScanCode) << "row " << i;
    if (i < kRowsWithScanCode) {
      EXPECT_GE(rows[i].key_code, 0x04u);
      EXPECT_LE(rows[i].key_code, 0x45u);
    }
    EXPECT_NE(rows[i].key_code, 0x32u);
    EXPECT_NE(rows[i].key_code, 0x64u);
  }
  for (uint32_t code = 0; code < 256; ++code) {
    EXPECT_EQ(IsMouseButtonCode(code), code >= 0xF1 && code <= 0xF5) << code;
    EXPECT_EQ(MouseButtonLanguageKey(code).empty(), !IsMouseButtonCode(code)) << code;
  }
}

TEST(UpperCase, OneCharacterAtATimeWhateverTheUsersLanguage) {
  const std::pair<std::string, std::string> cases[] = {
      {"a", "A"}, {"é", "É"}, {"ù", "Ù"}, {"ß", "ß"}, {"й", "Й"}, {"ç1;", "Ç1;"},
      {"", ""},   {"^", "^"}, {"\xFF", "\uFFFD"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(UpperCaseEach(in), out) << in;
}

TEST(KeyNaming, VirtualKeysWithFixedKeyCodes) {
  const Named us("us");
  struct Case {
    uint32_t virtual_key;
    bool found;
    uint32_t usage;
  } const cases[] = {
      {0xBF, true, 0x38},  {0xDF, true, 0x38},  // VK_OEM_2 and VK_OEM_8 share 0x38
      {0x2C, true, 0x46},  {0x2A, false, 0},    // VK_SNAPSHOT; 0x2A has a text only
      {0x10, false, 0},    {0x11, false, 0},    {0x12, false, 0},  // generic modifiers
      {0xA0, true, 0xE1},  {0xA1, true, 0xE5},  {0xA2, true, 0xE0},
      {0xA3, true, 0xE4},  {0xA4, true, 0xE2},  {0xA5, true, 0xE6},
      {0x5B, true, 0xE3},  {0x5C, true, 0xE7},
      {0x6C, true, 0x58},  // VK_SEPARATOR: keypad Enter
      {0xF1, true, 0xF1},  {0xF4, true, 0xF4},  {0xF5, false, 0},  {0xF7, true, 0xF7},
      {0x67, true, 0x5F},  {0x66, true, 0x5E},  {0x0D, true, 0x28},  {0x70, true, 0x3A},
      {0x7B, true, 0x45},  {0x00, false, 0},    {0xFF, false, 0},
  };
  for (const Case& c : cases) {
    const UsageLookup got = us.naming.VirtualKeyToUsage(c.virtual_key);
    EXPECT_EQ(got.found, c.found) << std::hex << c.virtual_key;
    EXPECT_EQ(got.usage, c.usage) << std::hex << c.virtual_key;
  }
}

TEST(KeyNaming, LettersDigitsAndPunctuationFollowThePhysicalKey) {
  struct Case {
    std::string layout;
    uint32_t virtual_key;
    uint32_t usage;
  } const cases[] = {
      {"us", 'Q', 0x14}, {"us", 'A', 0x04}, {"fr", 'A', 0x14}, {"fr", 'Q', 0x04},
      {"fr", 'M', 0x33}, {"fr", 'W', 0x1D}, {"de", 'Z', 0x1C}, {"de", 'Y', 0x1D},
      {"fr", '1', 0x1E}, {"fr", '0', 0x27}, {"de", 0xBD, 0x38},  // de '-' sits at US '/'
      {"fr", 0xBC, 0x10},                                       // fr ',' sits at US 'M'
  };
  for (const Case& c : cases) {
    const Named named(c.layout);
    const UsageLookup got = named.naming.VirtualKeyToUsage(c.virtual_key);
    EXPECT_TRUE(got.found);
    EXPECT_EQ(got.usage, c.usage) << c.layout << " " << std::hex << c.virtual_key;
  }
}

TEST(KeyNaming, KeyCodeNames) {
  struct Case {
    std::string layout;
    std::string variant;
    uint32_t key_code;
    std::string name;
  } const cases[] = {
      {"us", "", 0x04, "A"},  {"fr", "", 0x04, "Q"},  {"fr", "", 0x14, "A"},
      {"de", "", 0x1C, "Z"},  {"de", "", 0x1D, "Y"},  {"us", "dvorak", 0x14, "'"},
      {"us", "", 0x1E, "1"},  {"fr", "", 0x1F, "É"},  {"fr", "", 0x1E, "&"},
      {"de", "", 0x2D, "ß"},  // upper-cased one character at a time: no "SS"
      {"us", "", 0x2D, "-"},  {"us", "", 0x2E, "="},  {"us", "", 0x2F, "["},
      {"us", "", 0x30, "]"},  {"us", "", 0x31, "\\"}, {"us", "", 0x33, ";"},
      {"us", "", 0x34, "'"},  {"us", "", 0x35, "`"},  {"us", "", 0x36, ","},
      {"us", "", 0x37, "."},  {"us", "", 0x38, "/"},  {"de", "", 0x38, "-"},
      {"fr", "", 0x10, ","},  {"fr", "", 0x33, "M"},  {"fr", "", 0x36, ";"},
      {"fr", "", 0x34, "Ù"},  {"fr", "", 0x2F, "^"},  {"de", "", 0x2E, "\u00B4"},  // dead keys
      {"us", "", 0x28, "<key_Enter>"},    {"us", "", 0x29, "<key_Esc>"},
      {"us", "", 0x2A, "<key_BackSpace>"}, {"us", "", 0x2B, "<key_Tab>"},
      {"fr", "", 0x2C, "<key_Space>"},     {"de", "", 0x39, "<key_Caplk>"},
      {"us", "", 0x32, ""},                {"us", "", 0x64, "<key_\\>"},
      {"us", "", 0x46, "<key_Print Scr>"}, {"us", "", 0x3A, "<key_F1>"},
      {"us", "", 0x45, "<key_F12>"},       {"us", "", 0x58, "<key_Num_Enter>"},
      {"us", "", 0x59, "<key_Num_1>"},     {"us", "", 0x61, "<key_Num_9>"},
      {"us", "", 0x62, "<key_Num_0>"},     {"us", "", 0x66, ""},
      {"us", "", 0x82, "<Sleep>"},         {"us", "", 0x88, "<Kana/Roma>"},
      {"us", "", 0xDD, "<`>"},             {"us", "", 0xE0, "<key_LCtrl>"},
      {"us", "", 0xE7, "<key_RWin>"},      {"us", "", 0xF1, "<L_Button>"},
      {"us", "", 0xF2, "<R_Button>"},      {"us", "", 0xF3, "<M_Button>"},
      {"us", "", 0xF4, "<Backward_Button>"}, {"us", "", 0xF5, "<Forward_Button>"},
      {"us", "", 0x00, ""},  {"us", "", 0x03, ""},  {"us", "", 0x69, ""},
      {"us", "", 0xF0, ""},  {"us", "", 0xF6, ""},  {"us", "", 0xFF, ""},
  };
  for (const Case& c : cases) {
    const Named named(c.layout, c.variant);
    EXPECT_EQ(named.naming.UsageDisplayName(c.key_code), c.name)
        << c.layout << " " << std::hex << c.key_code;
  }
  const Named us("us");
  for (uint32_t code = 0xE8; code <= 0xEF; ++code) EXPECT_EQ(us.naming.UsageDisplayName(code), "");
}

TEST(KeyNaming, VirtualKeyNames) {
  const Named us("us");
  const Named fr("fr");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0x2A), "<key_Print Scr>");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0x10), "<key_LShift>");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0xF0), "<key_Caplk>");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0x60), "<key_Num_0>");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0x69), "<key_Num_9>");
  EXPECT_EQ(fr.naming.VirtualKeyDisplayName('A'), "A");
  EXPECT_EQ(fr.naming.VirtualKeyDisplayName(0xBA), ";");
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0xDF), "");  // no key carries VK_OEM_8
  EXPECT_EQ(us.naming.VirtualKeyDisplayName(0), "");
}

// A key pressed and captured shows, as a key code, the name the key has as a
// virtual key: capture and display agree on every key of the character block.
TEST(KeyNaming, CapturedKeysShowTheirOwnName) {
  for (const auto& [layout, variant] : std::vector<std::pair<std::string, std::string>>{
           {"us", ""}, {"fr", ""}, {"de", ""}, {"us", "dvorak"}, {"ru", ""}}) {
    const Named named(layout, variant);
    for (uint32_t key = 2; key <= 53; ++key) {
      const uint32_t virtual_key = named.layout->VirtualKeyOf(key);
      const UsageLookup usage = named.naming.VirtualKeyToUsage(virtual_key);
      if (!usage.found) continue;
      EXPECT_EQ(named.naming.UsageDisplayName(usage.usage),
                named.naming.VirtualKeyDisplayName(virtual_key))
          << layout << variant << " key " << key;
    }
  }
}

}  // namespace
}  // namespace ms1
