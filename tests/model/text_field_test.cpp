#include "model/text_field.h"

#include <gtest/gtest.h>

namespace ms1 {
namespace {

TEST(TextField, ReadsUpToTheTerminatorOrTheWholeField) {
  char16_t field[5] = {u'a', u'b', u'\0', u'x', u'y'};
  EXPECT_EQ(FieldText(field), u"ab");
  char16_t full[3] = {u'a', u'b', u'c'};  // no terminator: never read past the field
  EXPECT_EQ(FieldText(full), u"abc");
}

TEST(TextField, SetClearsOldTextAndAlwaysTerminates) {
  char16_t field[4] = {u'x', u'x', u'x', u'x'};
  SetFieldText(field, u"abcdef");
  EXPECT_EQ(FieldText(field), u"abc");
  EXPECT_EQ(field[3], u'\0');
  SetFieldText(field, u"z");
  EXPECT_EQ(field[1], u'\0');
  EXPECT_EQ(field[2], u'\0');
}

TEST(Utf, RoundTripsAndReplacesMalformedInput) {
  const std::string text = "Prüfung ä € 𝄞";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\xC3\xA4"), u"ä");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9D\x84\x9E").size(), 2u);  // surrogate pair
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");             // cut sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");     // overlong
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace ms1
